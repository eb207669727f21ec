#pragma once

#include <string>
#include <string_view>

// Conversions between wide text (window texts, settings) and the ANSI code page
// (GB18030: engine records, keywords, statistics texts, ini bytes).

// Wide text to the ANSI code page; unencodable code points become "?".
std::string WideToAnsi(std::wstring_view text);

// ANSI code page to wide text; invalid bytes become U+FFFD.
std::wstring AnsiToWide(std::string_view bytes);

#pragma once

#include <string>
#include <string_view>

// The keyword the engine puts into the search URL: the typed text in the ANSI code
// page, percent-encoded (pure ASCII: letters, digits, "-_.~", "+" for a space and
// "%XX" groups with upper-case hex digits).
std::string SearchKeyword(std::wstring_view text);

#pragma once

#include <string>
#include <string_view>

namespace platform {

// The system's "ANSI code page" is GB18030 (a superset of GBK): the portal's pages,
// search keywords, statistics texts and the bytes inside ini files use it, and it
// can encode every Unicode character, so nothing is lost on the way through a file.

// Wide text to GB18030. A code point that cannot be encoded (a lone surrogate or a
// value beyond U+10FFFF) becomes "?".
std::string WideToGb18030(std::wstring_view text);

// GB18030 bytes to wide text. Every byte that does not start a valid sequence
// becomes U+FFFD, and decoding resumes at the next byte.
std::wstring Gb18030ToWide(std::string_view bytes);

// UTF-8 <-> wide text, for file-system paths and the command line (both UTF-8 on
// Linux). Invalid UTF-8 bytes become U+FFFD.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view bytes);

// GB18030 <-> UTF-8 in one step (e.g. for JSON output of portal texts).
std::string Gb18030ToUtf8(std::string_view bytes);
std::string Utf8ToGb18030(std::string_view bytes);

}  // namespace platform

#pragma once

#include <string>
#include <string_view>

// Percent-encodes 8-bit text byte by byte: ASCII letters, digits and "-_.~" stay,
// a space becomes "+", every other byte becomes "%" and two upper-case hex digits.
std::string UrlEncode(std::string_view bytes);

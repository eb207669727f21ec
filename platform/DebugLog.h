#pragma once

#include <string_view>

namespace platform {

// Writes one debug line to stderr, only when TROVIK_DEBUG=1. Stands in for the
// Windows debugger output lines (OutputDebugString); nothing is ever written to a
// file. The 8-bit form takes UTF-8 text, the wide form is converted to UTF-8; a line
// end is added unless the text ends with one.
void DebugOutput(std::string_view line);
void DebugOutput(std::wstring_view line);

}  // namespace platform

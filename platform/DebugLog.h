#pragma once

#include <string_view>

namespace platform {

// Writes one debug line to stderr, only when TROVIK_DEBUG=1. Stands in for the
// debugger output lines of the original; nothing is ever written to a file.
void DebugOutput(std::string_view line);
void DebugOutput(std::wstring_view line);

}  // namespace platform

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The four-number file version a Trovik binary carries in its ".trovik_version" ELF
// section (written by the build from the project version). Nothing when the file
// is not an ELF file or has no such section. An empty path means the running
// executable.
std::optional<std::array<uint16_t, 4>> ReadFileVersion(const std::string& path);

// "%d.%d.%d.%d" of ReadFileVersion, or "" when there is none.
std::string FileVersionText(const std::string& path);

}  // namespace platform

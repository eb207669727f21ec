#pragma once

#include <string>
#include <string_view>

namespace platform {

// Profile (ini) files with the Windows private-profile semantics (see IniDocument).
// `path` is a native (UTF-8) file-system path. The bytes inside the files are in the
// ANSI code page (GB18030): the 8-bit functions read and write them unchanged, the
// wide functions convert.
//
// `bufferSize`, when not 0, behaves like the caller's fixed buffer of that many
// characters: a longer value is cut to bufferSize - 1 characters.

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, const std::string& path,
                              size_t bufferSize = 0);
std::wstring ReadProfileString(std::wstring_view section, std::wstring_view key,
                               std::wstring_view defaultValue, const std::string& path,
                               size_t bufferSize = 0);

// The leading decimal number of the value; `defaultValue` when the key, the section
// or the file is absent or the value is empty.
int ReadProfileInt(std::string_view section, std::string_view key, int defaultValue,
                   const std::string& path);
int ReadProfileInt(std::wstring_view section, std::wstring_view key, int defaultValue,
                   const std::string& path);

// Writes one key, keeping every other byte of the file. Creates the file (not its
// folder) when missing. Returns false when the file cannot be written.
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path);
bool WriteProfileString(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                        const std::string& path);

}  // namespace platform

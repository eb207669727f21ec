#pragma once

#include <string>

namespace platform {

// Paths are native UTF-8 strings. Folders are returned without a trailing "/"
// unless stated otherwise.

// The user's application-data folder: $XDG_DATA_HOME, else $HOME/.local/share.
std::string AppDataFolder();

// The temporary folder: $TMPDIR, else /tmp; always with a trailing "/".
std::string TempFolder();

// The running executable's full path (/proc/self/exe) and its folder.
std::string ExecutablePath();
std::string ExecutableFolder();

// Creates every missing level of `path` (a trailing "/" is allowed). True when at
// least one level was created; false when all existed or creation failed.
bool MakeDirectoryPath(const std::string& path);

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

}  // namespace platform

#pragma once

#include <string>

namespace platform {

// Paths are native UTF-8 strings. Folders are returned without a trailing "/"
// unless stated otherwise.

// The user's application-data folder: $XDG_DATA_HOME, else $HOME/.local/share.
std::string AppDataFolder();

// The user's configuration folder: $XDG_CONFIG_HOME, else $HOME/.config.
std::string ConfigFolder();

// The per-user runtime folder for sockets and locks: $XDG_RUNTIME_DIR, else a private
// /tmp/trovik-runtime-<uid> (created with mode 0700). "" when neither is usable.
std::string RuntimeFolder();

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

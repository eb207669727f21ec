#pragma once

#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "updater/FileDigest.h"

// File operations confined to one folder: a path is walked component by component
// from a descriptor of the base folder, and a symbolic link met on the way is never
// followed, so nothing outside the base folder is read or written, whatever links
// the tree holds.

// Opens `base` and then each of `folders` below it as folders, refusing symbolic
// links. With `create`, missing folders are made (mode 0755 less the umask). An
// invalid descriptor when the walk fails.
platform::UniqueFd OpenFolderBelow(const std::string& base, const std::vector<std::string>& folders,
                                   bool create);

// Opens the regular file `components` (folders, then the file name) below `base` for
// reading, without following links. Invalid when there is none.
platform::UniqueFd OpenFileBelow(const std::string& base,
                                 const std::vector<std::string>& components);

// True when the regular file `components` below `base` (links not followed) has the
// expected digests; false when it cannot be read.
bool FileHasDigestBelow(const std::string& base, const std::vector<std::string>& components,
                        const ExpectedDigest& expected);

enum class InstallResult {
    kInstalled,       // the target now holds the new bytes
    kSourceMissing,   // no staged file
    kDigestMismatch,  // the staged bytes do not have the expected digest; nothing changed
    kFailed,          // the target could not be replaced (folder not writable, disk full, ...)
};

// Replaces the file `components` below `targetBase` with the bytes of `source` (an
// open regular file), provided their MD5 is `md5`. The bytes are copied into a
// temporary file in the target's own folder, flushed, checked, and renamed over the
// target, so at every moment the target path holds the old or the new file, never a
// part. Missing folders are created. The new file keeps the mode of the file it
// replaces; a new file is executable when it starts like a program ("\x7fELF", "#!").
InstallResult InstallFileBelow(int source, const std::string& targetBase,
                               const std::vector<std::string>& components,
                               const ExpectedDigest& expected);

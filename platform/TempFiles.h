#pragma once

#include <chrono>
#include <string>

namespace platform {

// Temporary files that stand in for a file being written (a download in progress, a
// settings file about to be replaced) live next to their target under a name that
// says whose they are:
//
//   .<target name>.<writer's pid>-<16 hex digits>.trovik-tmp
//
// A process killed while writing leaves such a file behind; RemoveStaleTempFiles,
// called before every new temporary file in a folder, removes the ones whose writer
// has ended or that nobody has touched for kStaleTempAge. Files of running writers,
// this process's own included, stay: concurrent writers never lose their files.

// Longer than any writer keeps a temporary file untouched: every download has a total
// deadline of at most ten minutes, and a settings write takes milliseconds.
inline constexpr std::chrono::minutes kStaleTempAge{60};

// A fresh temporary file name for `targetPath`, in the target's folder (the random
// part makes it unique; the caller still creates it with O_EXCL). The target's name is
// cut so that the whole name stays within the file system's 255 bytes.
std::string TempFilePathFor(const std::string& targetPath);

// The folder part of a path, with its trailing "/" ("" for a bare name).
std::string FolderOf(const std::string& path);

// Removes the stale temporary files named as above from `folder` ("" is the working
// folder): those whose writer process no longer runs, and those not modified for
// kStaleTempAge. Anything else in the folder is left alone. Returns how many it removed.
int RemoveStaleTempFiles(const std::string& folder);

// Whether a directory entry's name has the temporary file form; when it has, *pid is
// the writer's process id.
bool ParseTempFileName(const std::string& name, long* pid);

}  // namespace platform

#pragma once

#include <string>
#include <string_view>

namespace platform {

// Whole-file reads and atomic replacement, for the small settings files the
// platform services keep.

enum class ReadStatus {
    kRead,     // the file was read
    kMissing,  // there is no such file
    kFailed,   // it exists but cannot be read (or is not a regular file)
};
ReadStatus ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file with `bytes` in one step: a temporary file in the same folder is
// written, flushed to disk and renamed over `path`, so readers see either the old or
// the new contents, never a mix. An existing file keeps its permission bits; a new
// one gets 0666 less the umask. The folder must exist. False on any failure, with
// the old file untouched.
bool ReplaceFile(const std::string& path, std::string_view bytes);

// `path` itself, or where it points when it is a symbolic link, so that a write
// replaces the link's target and keeps the link. "" when a link cannot be resolved.
std::string ResolveFileLink(const std::string& path);

}  // namespace platform

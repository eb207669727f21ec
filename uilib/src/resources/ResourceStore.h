#pragma once

// The skin's files: read from the process's zip archive (on demand, cached) or from the
// resource folder, and images decoded once.

#include <cstddef>
#include <memory>
#include <string>

#include "uilib/src/Backend.h"

namespace UiLib::detail {

// Configuration (user-interface thread).
void SetResourceFolder(const std::string& folder);  // with trailing "/"
const std::string& ResourceFolder();
// False when the archive cannot be opened; the previous one is dropped either way.
bool OpenArchiveFile(const std::string& path);
bool OpenArchiveBytes(const void* data, std::size_t size);
bool HasArchive();
std::string ArchiveName();
// Changes whenever the archive or folder changes, so caches built on them expire.
unsigned ResourceGeneration();

// A skin file: archive entry (exact name, then without regard to case), else the
// resource folder, else an absolute path. Null when absent.
std::shared_ptr<const std::string> LoadFile(const std::string& name);

// A decoded image by the name used in layouts; null when it cannot be found or decoded
// (or there is no backend to decode it). Images on disk are read again when their file
// changes.
const backend::Image* LoadImage(const std::wstring& name);

// A picture chosen for a screen's pixel ratio, and how many of its pixels make one unit
// of the layout (2 for a "Name@2x.png", else 1).
struct ScaledImage {
    const backend::Image* image = nullptr;
    int scale = 1;
};

// The name of a skin picture drawn at twice the size: "a/b.png" gives "a/b@2x.png".
std::wstring DoubleSizeName(const std::wstring& name);

// Above a ratio of 1, the skin's "@2x" picture where it has one; else the picture
// itself. Absolute paths (downloaded pictures) have no "@2x": they are drawn from their
// own pixels, which a scaled screen shows at their full resolution.
ScaledImage LoadImageFor(const std::wstring& name, double pixelRatio);

}  // namespace UiLib::detail

#include "uilib/src/resources/ResourceStore.h"

#include <sys/stat.h>
#include <zip.h>

#include <mutex>
#include <unordered_map>
#include <vector>

#include "uilib/core/DuiString.h"
#include "uilib/src/dispatch/Dispatch.h"

namespace UiLib::detail {

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const {
        if (z) zip_discard(z);
    }
};

struct Store {
    std::mutex mutex;
    std::string folder;
    std::string archiveName;
    std::vector<char> archiveBytes;  // backing store of an in-memory archive
    std::unique_ptr<zip_t, ZipCloser> zip;
    std::unordered_map<std::string, std::shared_ptr<const std::string>> files;
    unsigned generation = 1;
};

Store& S() {
    static Store s;
    return s;
}

using ImagePtr = std::shared_ptr<const backend::Image>;

struct DiskImage {
    ImagePtr image;
    time_t mtime = 0;
    off_t size = -1;
};

// Decoded images, for the archive generation and the backend that decoded them.
struct ImageCache {
    unsigned generation = 0;
    unsigned decoder = 0;                                // the backend generation
    std::unordered_map<std::wstring, ImagePtr> archive;  // null: missing
    std::unordered_map<std::wstring, DiskImage> disk;
};

ImageCache& Images() {
    static ImageCache c;
    return c;
}

std::string Normalise(const std::string& name) {
    std::string n = name;
    for (auto& c : n) {
        if (c == '\\') c = '/';
    }
    while (n.rfind("./", 0) == 0) n.erase(0, 2);
    return n;
}

bool ReadDisk(const std::string& path, std::string* out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok) *out = std::move(data);
    return ok;
}

// Reads an entry of the open archive (lock held).
bool ReadEntry(Store& s, const std::string& name, std::string* out) {
    if (!s.zip) return false;
    zip_int64_t index = zip_name_locate(s.zip.get(), name.c_str(), 0);
    if (index < 0) index = zip_name_locate(s.zip.get(), name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return false;
    zip_stat_t st;
    if (zip_stat_index(s.zip.get(), static_cast<zip_uint64_t>(index), 0, &st) != 0) return false;
    zip_file_t* file = zip_fopen_index(s.zip.get(), static_cast<zip_uint64_t>(index), 0);
    if (!file) return false;
    std::string data;
    data.resize(static_cast<size_t>(st.size));
    const zip_int64_t read = zip_fread(file, data.data(), st.size);
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != st.size) return false;
    *out = std::move(data);
    return true;
}

void Reset(Store& s) {
    s.zip.reset();
    s.archiveBytes.clear();
    s.archiveName.clear();
    s.files.clear();
    ++s.generation;
}

}  // namespace

void SetResourceFolder(const std::string& folder) {
    auto& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.folder == folder) return;
    s.folder = folder;
    s.files.clear();
    ++s.generation;
}

const std::string& ResourceFolder() {
    return S().folder;
}

bool OpenArchiveFile(const std::string& path) {
    auto& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    Reset(s);
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!z) return false;
    s.zip.reset(z);
    s.archiveName = path;
    return true;
}

bool OpenArchiveBytes(const void* data, std::size_t size) {
    auto& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    Reset(s);
    if (!data || size == 0) return false;
    s.archiveBytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + size);
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src =
        zip_source_buffer_create(s.archiveBytes.data(), s.archiveBytes.size(), 0, &err);
    if (!src) {
        zip_error_fini(&err);
        s.archiveBytes.clear();
        return false;
    }
    zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &err);
    if (!z) {
        zip_source_free(src);
        zip_error_fini(&err);
        s.archiveBytes.clear();
        return false;
    }
    zip_error_fini(&err);
    s.zip.reset(z);
    s.archiveName = "<memory>";
    return true;
}

bool HasArchive() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return S().zip != nullptr;
}

std::string ArchiveName() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return S().archiveName;
}

unsigned ResourceGeneration() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return S().generation;
}

std::shared_ptr<const std::string> LoadFile(const std::string& rawName) {
    if (rawName.empty()) return nullptr;
    const std::string name = Normalise(rawName);
    auto& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (const auto it = s.files.find(name); it != s.files.end()) return it->second;
    std::string data;
    bool found = false;
    if (name[0] != '/') {
        found = ReadEntry(s, name, &data);
        if (!found && !s.folder.empty()) found = ReadDisk(s.folder + name, &data);
    }
    if (!found && name[0] == '/') {
        // Absolute paths are not cached: such files (downloads) may change.
        if (!ReadDisk(name, &data)) return nullptr;
        return std::make_shared<const std::string>(std::move(data));
    }
    if (!found) return nullptr;
    auto entry = std::make_shared<const std::string>(std::move(data));
    s.files[name] = entry;
    return entry;
}

const backend::Image* LoadImage(const std::wstring& name) {
    backend::Backend* b = backend::CurrentBackend();
    if (name.empty() || !b) return nullptr;
    auto& cache = Images();
    const unsigned generation = ResourceGeneration();
    if (cache.decoder != BackendGeneration()) {
        cache.disk.clear();
        cache.archive.clear();
        cache.decoder = BackendGeneration();
    }
    if (cache.generation != generation) {
        cache.archive.clear();
        cache.generation = generation;
    }
    const std::string utf8 = Normalise(WideToUtf8(name));
    if (utf8.empty()) return nullptr;
    if (utf8[0] != '/') {
        auto it = cache.archive.find(name);
        if (it == cache.archive.end()) {
            ImagePtr image;
            if (auto bytes = LoadFile(utf8)) image = b->DecodeImage(bytes->data(), bytes->size());
            it = cache.archive.emplace(name, std::move(image)).first;
        }
        return it->second.get();
    }
    struct stat st {};
    if (::stat(utf8.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        cache.disk.erase(name);
        return nullptr;
    }
    auto& entry = cache.disk[name];
    if (entry.mtime != st.st_mtime || entry.size != st.st_size) {
        entry.mtime = st.st_mtime;
        entry.size = st.st_size;
        std::string data;
        entry.image = ReadDisk(utf8, &data) ? b->DecodeImage(data.data(), data.size()) : nullptr;
    }
    return entry.image.get();
}

std::wstring DoubleSizeName(const std::wstring& name) {
    const size_t slash = name.find_last_of(L"/\\");
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) {
        return name + L"@2x";
    }
    return name.substr(0, dot) + L"@2x" + name.substr(dot);
}

ScaledImage LoadImageFor(const std::wstring& name, double pixelRatio) {
    const bool absolute = !name.empty() && (name[0] == L'/' || name[0] == L'\\');
    if (pixelRatio > 1.0 && !absolute) {
        if (const backend::Image* big = LoadImage(DoubleSizeName(name))) return {big, 2};
    }
    return {LoadImage(name), 1};
}

}  // namespace UiLib::detail

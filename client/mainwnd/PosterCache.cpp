#include "client/mainwnd/PosterCache.h"

#include "common/HttpDownload.h"
#include "platform/CodePage.h"
#include "platform/Folders.h"

namespace {

// Where the poster of `url` is cached (UTF-8), or "" when it cannot have a file.
std::string CachePath(const std::string& url) {
    if (url.empty()) return {};
    const std::string name = PosterCacheName(url);
    if (name.empty()) return {};
    // The URL's bytes are in the ANSI code page; file names are UTF-8.
    return platform::TempFolder() + platform::Gb18030ToUtf8(name);
}

}  // namespace

std::string PosterCacheName(const std::string& url) {
    const auto slash = url.rfind('/');
    std::string name = slash == std::string::npos ? url : url.substr(slash + 1);
    name = name.substr(0, name.find('?'));
    if (name.empty() || name == "." || name == "..") return {};
    if (name.find_first_of(std::string("\\'\0", 3)) != std::string::npos) return {};
    return name;
}

std::wstring PosterFile(const std::string& url, std::chrono::milliseconds deadline) {
    const std::string path = CachePath(url);
    if (path.empty()) return {};
    if (platform::PathExists(path)) return platform::Utf8ToWide(path);
    if (!HttpDownloadFile(url, path, deadline)) return {};
    return platform::Utf8ToWide(path);
}

std::wstring CachedPosterFile(const std::string& url) {
    const std::string path = CachePath(url);
    if (path.empty() || !platform::PathExists(path)) return {};
    return platform::Utf8ToWide(path);
}

#include "client/mainwnd/PosterCache.h"

#include "client/mainwnd/ResultPresenter.h"
#include "common/HttpDownload.h"
#include "platform/CodePage.h"
#include "platform/Folders.h"

std::string PosterCacheName(const std::string& url) {
    const auto slash = url.rfind('/');
    std::string name = slash == std::string::npos ? url : url.substr(slash + 1);
    name = name.substr(0, name.find('?'));
    if (name.empty() || name == "." || name == "..") return {};
    if (name.find_first_of(std::string("\\'\0", 3)) != std::string::npos) return {};
    return name;
}

std::wstring PosterFile(const std::string& url) {
    if (url.empty()) return {};
    const std::string name = PosterCacheName(url);
    if (name.empty()) return {};
    // The URL's bytes are in the ANSI code page; file names are UTF-8.
    const std::string path = platform::TempFolder() + platform::Gb18030ToUtf8(name);
    if (platform::PathExists(path)) return platform::Utf8ToWide(path);
    if (!HttpDownloadFile(url, path)) return {};
    return platform::Utf8ToWide(path);
}

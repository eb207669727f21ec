#include "updater/DownloadFiles.h"

#include <unistd.h>

#include "common/BindCallback.h"
#include "common/UrlDownload.h"
#include "platform/CodePage.h"
#include "platform/DebugLog.h"
#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "updater/FileDigest.h"
#include "updater/UpdaterConfig.h"

namespace {

// The ten-minute limit of every download, and a size limit the server cannot pass.
class BoundedCallback : public CBindCallback {
public:
    HRESULT OnProgress(std::uint64_t received, std::uint64_t total) override {
        if (received > kMaxUpdateFileBytes || total > kMaxUpdateFileBytes) return E_ABORT;
        return CBindCallback::OnProgress(received, total);
    }
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::wstring FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return platform::Utf8ToWide(slash == std::string::npos ? path : path.substr(slash + 1));
}

bool DownloadOne(const UpdateItem& item, BoundedCallback& callback) {
    const std::string folder = FolderOf(item.localPath);
    if (!folder.empty() && !platform::IsDirectory(folder)) platform::MakeDirectoryPath(folder);
    callback.startTick = callback.Now();
    if (!UrlDownloadToFile(item.url, item.localPath, &callback)) return false;
    if (FileHasDigest(item.localPath, {item.md5, item.sha256})) return true;
    platform::DebugOutput("MS - MD5/SHA-256 不符: " + item.url);
    unlink(item.localPath.c_str());
    return false;
}

}  // namespace

bool DownloadUpdateFiles(const UpdaterConfig& config, const std::vector<UpdateItem>& items,
                         int serverVersion, DownloadObserver& observer) {
    if (items.empty()) return false;
    BoundedCallback callback;
    callback.progress = &observer;
    for (const UpdateItem& item : items) {
        observer.SetLabel(L"正在下载:" + FileNameOf(item.localPath));
        if (!DownloadOne(item, callback)) {
            observer.SetLabel(L"下载失败");
            return false;
        }
    }
    observer.SetLabel(L"下载完成");
    platform::WriteProfileString("Version", "Ver", std::to_string(serverVersion),
                                 config.userConfigPath);
    return true;
}

#include "updater/UpdateCheck.h"

#include "common/HttpDownload.h"
#include "platform/DebugLog.h"
#include "updater/InstallStep.h"
#include "updater/LocalManifest.h"
#include "updater/PendingList.h"
#include "updater/UpdaterConfig.h"

CheckResult RunUpdateCheck(const UpdaterConfig& config) {
    CheckResult result;
    if (IsPendingUpdateReady(config)) {
        result.outcome = CheckOutcome::kInstallPending;
        return result;
    }
    // Without an installation folder there is nothing to compare or to install into.
    if (config.appPath.empty() || config.updateBaseUrl.empty()) return result;

    std::string versionText = HttpFetchText(config.updateBaseUrl + "Version.txt");
    if (versionText.empty()) versionText = "0";
    result.serverVersion = ParseVersionNumber(versionText);
    if (config.installedVersion >= result.serverVersion) return result;
    platform::DebugOutput(L"本地版本小于服务版本...");

    if (!HttpDownloadFile(config.updateBaseUrl + "Update.txt", config.serverManifestPath))
        return result;
    platform::DebugOutput("MS - Update文件下载成功...");
    WriteLocalManifest(config, config.appPath);
    platform::DebugOutput("MS - 已生成本地MD5文件...");

    ComputeUpdateList(config.serverManifestPath, config.localManifestPath,
                      {config.stagingFolder, config.updateBaseUrl}, result.updateList);
    if (result.updateList.empty()) return result;
    platform::DebugOutput("MS - 对比后需要升级...");
    // A fresh download starts in an empty staging folder: nothing of an abandoned
    // one can end up in this update.
    DeleteDirectoryTree(config.stagingFolder);
    WritePendingList(config.pendingListPath, result.updateList);
    result.outcome = CheckOutcome::kDownload;
    return result;
}

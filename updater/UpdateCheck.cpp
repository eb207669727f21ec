#include "updater/UpdateCheck.h"

#include "common/HttpDownload.h"
#include "platform/DebugLog.h"
#include "updater/InstallStep.h"
#include "updater/LocalManifest.h"
#include "updater/ManifestJson.h"
#include "updater/PendingList.h"
#include "updater/SignedPending.h"
#include "updater/UpdateSignature.h"
#include "updater/UpdaterConfig.h"

namespace {

// "Version.txt" holds a number: anything longer is no version file.
constexpr std::int64_t kMaxVersionBytes = 64 * 1024;

void Refuse(const std::string& problem) {
    platform::DebugOutput("MS - 签名校验失败, 拒绝更新: " + problem);
}

}  // namespace

CheckResult RunUpdateCheck(const UpdaterConfig& config) {
    CheckResult result;
    if (IsPendingUpdateReady(config)) {
        result.outcome = CheckOutcome::kInstallPending;
        return result;
    }
    // Without an installation folder there is nothing to compare or to install into.
    if (config.appPath.empty() || config.updateBaseUrl.empty()) return result;

    // With a publisher key, each server file is used only once its signature is verified.
    const PublisherKey key = PublisherKey::Load(config.appPath);
    std::string problem;
    SignedUpdate signedUpdate;
    if (key.state() == PublisherKey::State::kUnusable) {
        Refuse(UpdateKeyPath(config.appPath) + " holds no Ed25519 public key");
        return result;
    }

    const std::string versionText =
        HttpFetchText(config.updateBaseUrl + "Version.txt", kMaxVersionBytes);
    if (key.required()) {
        // No answer: no newer version, and nothing to verify.
        if (versionText.empty()) return result;
        signedUpdate.version = versionText;
        signedUpdate.versionSignature =
            HttpFetchText(config.updateBaseUrl + "Version.txt.sig", kMaxSignatureFileBytes);
        if (!key.VerifyVersion(versionText, signedUpdate.versionSignature, &problem)) {
            Refuse(problem);
            return result;
        }
    }
    // An empty body (or none) counts as version 0.
    result.serverVersion = ParseVersionNumber(versionText);
    if (config.installedVersion >= result.serverVersion) return result;
    platform::DebugOutput(L"本地版本小于服务版本...");

    // A larger manifest would be refused anyway.
    const std::string manifest =
        HttpFetchText(config.updateBaseUrl + "Update.txt", kMaxJsonFileBytes);
    if (manifest.empty()) return result;
    if (key.required()) {
        signedUpdate.manifest = manifest;
        signedUpdate.manifestSignature =
            HttpFetchText(config.updateBaseUrl + "Update.txt.sig", kMaxSignatureFileBytes);
        if (!key.VerifyManifest(result.serverVersion, manifest, signedUpdate.manifestSignature,
                                &problem)) {
            Refuse(problem);
            return result;
        }
    }
    if (!WriteTextFile(config.serverManifestPath, manifest)) return result;
    platform::DebugOutput("MS - Update文件下载成功...");
    WriteLocalManifest(config, config.appPath);
    platform::DebugOutput("MS - 已生成本地MD5文件...");

    // A signed manifest names the SHA-256 of every file: MD5 alone is not trusted.
    ComputeUpdateList(config.serverManifestPath, config.localManifestPath,
                      {config.stagingFolder, config.updateBaseUrl}, result.updateList,
                      key.required());
    if (result.updateList.empty()) return result;
    platform::DebugOutput("MS - 对比后需要升级...");
    // A fresh download starts in an empty staging folder: nothing of an abandoned
    // one can end up in this update.
    DeleteDirectoryTree(config.stagingFolder);
    // The verified files stay with the pending list, so that the install step can
    // verify it again.
    if (key.required() &&
        !WriteSignedUpdate(SignedUpdatePath(config.stagingFolder), signedUpdate)) {
        result.updateList.clear();
        return result;
    }
    WritePendingList(config.pendingListPath, result.updateList);
    result.outcome = CheckOutcome::kDownload;
    return result;
}

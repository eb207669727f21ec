#include "updater/InstallStep.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/DebugLog.h"
#include "platform/Folders.h"
#include "updater/FileDigest.h"
#include "updater/PendingList.h"
#include "updater/ProgramStart.h"
#include "updater/SafeFiles.h"
#include "updater/SignedPending.h"
#include "updater/UpdaterConfig.h"

namespace {

// The staged file of an entry, opened without following links, or invalid.
platform::UniqueFd OpenStaged(const PendingEntry& entry, const std::string& stagingFolder,
                              std::vector<std::string>& components) {
    std::optional<std::vector<std::string>> parts = StagedComponents(entry.filename, stagingFolder);
    if (!parts || !IsExpectedDigest(entry.digest())) return platform::UniqueFd();
    components = std::move(*parts);
    return OpenFileBelow(stagingFolder, components);
}

}  // namespace

InstallSummary InstallPendingFiles(const UpdaterConfig& config) {
    InstallSummary summary;
    const std::optional<PendingList> list = ReadPendingList(config.pendingListPath);
    if (!list || config.appPath.empty() || !platform::IsDirectory(config.appPath)) return summary;
    summary.listRead = true;
    if (!MayUsePendingList(config, *list)) {
        summary.refused = true;
        return summary;
    }
    for (const PendingEntry& entry : list->files) {
        std::vector<std::string> components;
        const platform::UniqueFd staged = OpenStaged(entry, config.stagingFolder, components);
        if (!staged.valid()) {
            ++summary.skipped;
            continue;
        }
        switch (InstallFileBelow(staged.get(), config.appPath, components, entry.digest())) {
            case InstallResult::kInstalled:
                ++summary.installed;
                break;
            case InstallResult::kFailed:
                ++summary.failed;
                platform::DebugOutput("MS - 无法安装 " + entry.filename);
                break;
            default:
                ++summary.skipped;
                break;
        }
    }
    return summary;
}

void ReconcilePending(const UpdaterConfig& config) {
    const std::optional<PendingList> list = ReadPendingList(config.pendingListPath);
    if (!list) return;
    std::vector<PendingEntry> remaining;
    for (const PendingEntry& entry : list->files) {
        const auto components = StagedComponents(entry.filename, config.stagingFolder);
        if (components && IsExpectedDigest(entry.digest()) &&
            FileHasDigestBelow(config.appPath, *components, entry.digest())) {
            unlink(entry.filename.c_str());
            continue;
        }
        remaining.push_back(entry);
    }
    if (remaining.size() == list->files.size()) return;
    if (remaining.empty()) {
        DeleteDirectoryTree(config.stagingFolder);
    } else {
        WritePendingEntries(config.pendingListPath, remaining);
    }
}

bool IsElevatedInstallStep() {
    const char* user = std::getenv("PKEXEC_UID");
    return geteuid() == 0 && user && *user;
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code error;
    return !a.empty() && !b.empty() && std::filesystem::is_directory(a, error) &&
           std::filesystem::equivalent(a, b, error);
}

void InstallStagedFiles(const UpdaterConfig& config) {
    if (IsElevatedInstallStep()) {
        // Root installs and nothing else: the user's own updater, which waits for this
        // step, clears the staging folder and starts the client again as the user.
        UpdaterConfig own = config;
        own.appPath = platform::ExecutableFolder();
        if (SameFolder(own.appPath, config.appPath)) {
            InstallPendingFiles(own);
        } else {
            platform::DebugOutput("MS - AppPath 不是本程序所在的目录, 拒绝安装");
        }
        return;
    }
    const InstallSummary summary = InstallPendingFiles(config);
    ReconcilePending(config);
    RestartClient(config, summary.failed == 0);
}

bool DeleteDirectoryTree(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) return false;
    std::filesystem::remove_all(path, error);
    return true;
}

#pragma once

#include <string>
#include <vector>

#include "common/ProgressTarget.h"
#include "updater/UpdateList.h"

struct UpdaterConfig;

// Where the download reports to: the window's label "lblDownFile" and bar "proFile".
// Called from the download thread.
class DownloadObserver : public IProgressTarget {
public:
    virtual void SetLabel(const std::wstring& text) = 0;

protected:
    ~DownloadObserver() = default;
};

// Largest file the download accepts, as the header-probing downloads do.
inline constexpr unsigned long long kMaxUpdateFileBytes = 1'048'576'000;

// Fetches every item to its staging path, in order: "正在下载:<name>" while one runs.
// A file counts as downloaded only when it arrived whole within ten minutes, is not
// larger than kMaxUpdateFileBytes and has the manifest's digests (MD5, and SHA-256
// where the manifest names one); the first one that
// does not ends the download ("下载失败") and gives false. When all arrived, the label
// says "下载完成" and the server's version is stored as "Version" "Ver".
bool DownloadUpdateFiles(const UpdaterConfig& config, const std::vector<UpdateItem>& items,
                         int serverVersion, DownloadObserver& observer);

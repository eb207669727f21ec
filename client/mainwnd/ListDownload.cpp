#include "client/mainwnd/ListDownload.h"

#include <sys/stat.h>

#include <cstdio>
#include <system_error>
#include <thread>

#include "client/core/ClientPaths.h"
#include "client/core/ClientSettings.h"
#include "client/mainwnd/ListImages.h"
#include "client/mainwnd/Trovik.h"
#include "common/HttpDownload.h"
#include "platform/CodePage.h"
#include "platform/DebugLog.h"
#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "platform/WholeFile.h"

namespace {

// How one list lives on the server and on disk.
struct ListKind {
    const char* folder;    // below the data folder and the server prefix's parent
    const char* fileName;  // the cached list, and its name on the server
    const char* section;
    const char* compareKey;  // the link an entry's image belongs to
    int entries;
};
constexpr ListKind kHotKind{"Hot/", "Hot.cfg", "HotLst", "HotUrl", 5};
constexpr ListKind kSiteKind{"LinkSite/", "LinkSite.cfg", "LinkSite", "LinkUrl", 7};
constexpr char kStagingName[] = "DownLoad.cfg";
constexpr size_t kImageNameBytes = 260;
constexpr size_t kLinkBytes = 1024;

struct ListRun {
    bool changed = false;  // an image was new or a link changed, or the list is new
    bool staged = false;   // "DownLoad.cfg" was fetched in this run
};

DownloadLimits Limits(long long maxBytes) {
    DownloadLimits limits;
    limits.maxBytes = maxBytes;
    limits.deadline = std::chrono::seconds(kListTransferDeadlineSeconds);
    return limits;
}

std::string Key(const char* name, int index) {
    return name + std::to_string(index);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A file name as one segment of a URL path: UTF-8, every byte outside the unreserved
// characters percent-encoded, so a space or a Chinese name reaches the server intact.
std::string UrlPathSegment(const std::string& utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : utf8) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

ListRun RunList(const ListKind& kind, const std::string& dataFolder, const std::string& baseUrl) {
    ListRun run;
    const std::string dir = dataFolder + kind.folder;
    platform::MakeDirectoryPath(dir);
    const std::string list = dir + kind.fileName;
    const std::string staging = dir + kStagingName;
    // With a cached list the server's copy is compared first; without one it becomes
    // the list straight away.
    const bool cached = platform::PathExists(list);
    const std::string& fetched = cached ? staging : list;
    if (!HttpDownloadFile(baseUrl + kind.fileName, fetched, Limits(kListFileMaxBytes))) return run;
    run.staged = cached;
    run.changed = !cached;
    for (int i = 0; i < kind.entries; ++i) {
        const std::string name = platform::ReadProfileString(kind.section, Key("ImgName", i), "",
                                                             fetched, kImageNameBytes);
        if (!IsUsableImageName(name)) continue;
        const std::string fileName = platform::Gb18030ToUtf8(name);
        const std::string local = dir + fileName;
        if (cached && IsRegularFile(local)) {
            const std::string before = platform::ReadProfileString(
                kind.section, Key(kind.compareKey, i), "", list, kLinkBytes);
            const std::string after = platform::ReadProfileString(
                kind.section, Key(kind.compareKey, i), "", staging, kLinkBytes);
            if (EqualsIgnoringAsciiCase(before, after)) continue;
        }
        // Whether the image arrives is not examined: an entry whose image is missing
        // shows the default entry, and the next start tries again.
        HttpDownloadFile(baseUrl + UrlPathSegment(fileName), local, Limits(kListImageMaxBytes));
        run.changed = true;
    }
    return run;
}

// Replaces the cached list with the one fetched in this run, in one step: a reader
// sees the old list or the new one, never a mix, also when the process ends midway.
void TakeOver(const ListKind& kind, const std::string& dataFolder) {
    const std::string dir = dataFolder + kind.folder;
    std::string bytes;
    if (platform::ReadWholeFile(dir + kStagingName, bytes) != platform::ReadStatus::kRead) return;
    platform::ReplaceFile(dir + kind.fileName, bytes);
}

}  // namespace

ListChanges DownloadLists(const ListDownloadJob& job) {
    const ListRun hot = RunList(kHotKind, job.dataFolder, job.hotBaseUrl);
    const ListRun sites = RunList(kSiteKind, job.dataFolder, job.linkSiteBaseUrl);
    // A "DownLoad.cfg" left by an earlier run never replaces a list fetched just now.
    if (hot.changed && hot.staged) TakeOver(kHotKind, job.dataFolder);
    if (sites.changed && sites.staged) TakeOver(kSiteKind, job.dataFolder);
    return ListChanges{hot.changed, sites.changed};
}

void StartListDownloadThread(UiLib::HWND target) {
    ListDownloadJob job{ProcessClientPaths().dataFolder, ProcessClientSettings().HotBaseUrl,
                        ProcessClientSettings().LinkSiteBaseUrl};
    try {
        std::thread([job = std::move(job), target] {
            ListChanges changes;
            try {
                changes = DownloadLists(job);
            } catch (...) {
                // Out of memory or the like: the lists stay as they are.
            }
            UiLib::SendMessageW(target, UMSG_LISTS_REFRESHED, changes.hot ? 1 : 0,
                                changes.link ? 1 : 0);
            platform::DebugOutput(std::string("lists: downloaded, hot changed ") +
                                  (changes.hot ? "1" : "0") + ", sites changed " +
                                  (changes.link ? "1" : "0"));
        }).detach();
    } catch (const std::system_error&) {
        // No thread: the lists stay as loaded (the defaults or the last download).
    }
}

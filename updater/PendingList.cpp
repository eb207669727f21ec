#include "updater/PendingList.h"

#include <unistd.h>

#include "updater/ManifestJson.h"
#include "updater/SignedPending.h"
#include "updater/UpdaterConfig.h"

namespace {

// A pending list holds at most a manifest's entries; its size is bounded the same way.
constexpr size_t kMaxPendingListBytes = kMaxJsonFileBytes * 4;

void WriteRoot(const std::string& path, const Json::Value& root) {
    WriteTextFile(path, WriteFastJson(root));
}

Json::Value EntryValue(const PendingEntry& entry) {
    Json::Value file;
    file["filename"] = entry.filename;
    file["md5"] = entry.md5;
    if (!entry.sha256.empty()) file["sha256"] = entry.sha256;
    file["url"] = entry.url;
    return file;
}

}  // namespace

void WritePendingList(const std::string& pendingListPath, const std::vector<UpdateItem>& items) {
    unlink(pendingListPath.c_str());
    if (items.empty()) return;
    Json::Value root;
    for (const UpdateItem& item : items) {
        root["success"] = item.ready != 0 ? 1 : 0;
        root["files"].append(EntryValue({item.localPath, item.md5, item.sha256, item.url}));
    }
    WriteRoot(pendingListPath, root);
}

void WritePendingEntries(const std::string& pendingListPath,
                         const std::vector<PendingEntry>& entries) {
    if (entries.empty()) {
        unlink(pendingListPath.c_str());
        return;
    }
    Json::Value root;
    root["success"] = 1;
    for (const PendingEntry& entry : entries) root["files"].append(EntryValue(entry));
    WriteRoot(pendingListPath, root);
}

std::optional<PendingList> ReadPendingList(const std::string& pendingListPath) {
    Json::Value root;
    if (!ReadJsonFile(pendingListPath, root, kMaxPendingListBytes) || !root.isObject())
        return std::nullopt;
    PendingList list;
    const Json::Value& success = root["success"];
    if (!success.isNull() && !success.isIntegral()) return std::nullopt;
    list.success = success.isNull() ? 0 : success.asInt();
    const Json::Value& files = root["files"];
    if (!files.isNull() && !files.isArray()) return std::nullopt;
    for (const Json::Value& file : files) {
        if (!file.isObject()) return std::nullopt;
        PendingEntry entry;
        for (auto [key, field] : {std::pair{"filename", &entry.filename},
                                  std::pair{"md5", &entry.md5}, std::pair{"url", &entry.url}}) {
            const Json::Value& value = file[key];
            if (!value.isString()) return std::nullopt;
            *field = value.asString();
        }
        const Json::Value& sha256 = file["sha256"];
        if (!sha256.isNull() && !sha256.isString()) return std::nullopt;
        entry.sha256 = sha256.isString() ? sha256.asString() : std::string();
        list.files.push_back(std::move(entry));
    }
    return list;
}

std::optional<std::vector<std::string>> StagedComponents(const std::string& filename,
                                                         const std::string& stagingFolder) {
    const std::string prefix = stagingFolder + "/";
    if (stagingFolder.empty() || filename.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    std::vector<std::string> components;
    size_t start = prefix.size();
    while (true) {
        const size_t slash = filename.find('/', start);
        std::string part = filename.substr(start, slash - start);
        if (part.empty() || part == "." || part == ".." || part.find('\0') != std::string::npos)
            return std::nullopt;
        components.push_back(std::move(part));
        if (slash == std::string::npos) return components;
        start = slash + 1;
    }
}

bool IsPendingUpdateReady(const UpdaterConfig& config) {
    const std::optional<PendingList> list = ReadPendingList(config.pendingListPath);
    if (!list || list->success == 0 || list->files.empty()) return false;
    for (const PendingEntry& entry : list->files) {
        if (!StagedComponents(entry.filename, config.stagingFolder)) return false;
        if (!IsExpectedDigest(entry.digest()) || !FileHasDigest(entry.filename, entry.digest()))
            return false;
    }
    return MayUsePendingList(config, *list);
}

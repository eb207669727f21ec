#include "updater/UpdateList.h"

#include <unordered_set>

#include "platform/DebugLog.h"
#include "updater/FileDigest.h"
#include "updater/ManifestJson.h"
#include "updater/ManifestNames.h"

namespace {

std::string StringMember(const Json::Value& node, const char* key) {
    if (!node.isObject()) return {};
    const Json::Value& value = node[key];
    return value.isString() ? value.asString() : std::string();
}

const Json::Value& ArrayMember(const Json::Value& node, const char* key) {
    static const Json::Value kEmpty(Json::arrayValue);
    if (!node.isObject()) return kEmpty;
    const Json::Value& value = node[key];
    return value.isArray() ? value : kEmpty;
}

bool ValidateFolder(const Json::Value& node, bool requireSha256, size_t& entries,
                    std::string& problem) {
    if (!node.isObject()) return problem = "a folder is not an object", false;
    const Json::Value& name = node["name"];
    if (!name.isString() || !IsSafeManifestName(name.asString()))
        return problem = "a folder name is not a plain name", false;
    if (++entries > kMaxManifestEntries) return problem = "too many entries", false;
    const Json::Value& files = node["files"];
    if (!files.isNull()) {
        if (!files.isArray()) return problem = "\"files\" is not an array", false;
        for (const Json::Value& file : files) {
            if (!file.isObject()) return problem = "a file is not an object", false;
            const Json::Value& fileName = file["name"];
            if (!fileName.isString() || !IsSafeManifestName(fileName.asString()))
                return problem = "a file name is not a plain name", false;
            const Json::Value& md5 = file["MD5"];
            if (!md5.isString() || !IsMd5Hex(md5.asString()))
                return problem = "a file has no MD5 digest", false;
            const Json::Value& sha256 = file["SHA256"];
            const bool sha256Valid = sha256.isString() && IsSha256Hex(sha256.asString());
            if (sha256.isNull() ? requireSha256 : !sha256Valid)
                return problem = "a file has no SHA-256 digest", false;
            if (++entries > kMaxManifestEntries) return problem = "too many entries", false;
        }
    }
    const Json::Value& subdirs = node["subdirs"];
    if (!subdirs.isNull()) {
        if (!subdirs.isArray()) return problem = "\"subdirs\" is not an array", false;
        for (const Json::Value& child : subdirs)
            if (!ValidateFolder(child, requireSha256, entries, problem)) return false;
    }
    return true;
}

}  // namespace

LocalManifestIndex::LocalManifestIndex(const Json::Value& localRoot) {
    if (localRoot.isObject()) Add(localRoot, "");
}

void LocalManifestIndex::Add(const Json::Value& node, const std::string& prefix) {
    const std::string folder = prefix + "/" + StringMember(node, "name");
    std::unordered_set<std::string> seen;
    for (const Json::Value& file : ArrayMember(node, "files")) {
        const std::string name = StringMember(file, "name");
        if (!seen.insert(name).second) continue;
        digests_[folder + "/" + name].push_back(StringMember(file, "MD5"));
    }
    for (const Json::Value& child : ArrayMember(node, "subdirs"))
        if (child.isObject()) Add(child, folder);
}

bool LocalManifestIndex::IsFileChanged(const std::string& md5, const std::string& fullPath) const {
    const auto it = digests_.find(fullPath);
    if (it == digests_.end()) return true;
    for (const std::string& digest : it->second)
        if (digest == md5) return false;
    return true;
}

bool ValidateServerManifest(const Json::Value& root, std::string* problem, bool requireSha256) {
    size_t entries = 0;
    std::string why;
    const bool valid = ValidateFolder(root, requireSha256, entries, why);
    if (problem) *problem = why;
    return valid;
}

void CollectChangedFiles(const Json::Value& serverNode, const std::string& prefix,
                         const std::string& relative, std::vector<UpdateItem>& list,
                         const LocalManifestIndex& local, const UpdateTarget& target) {
    if (!serverNode.isObject()) return;
    const std::string folder = prefix + "/" + StringMember(serverNode, "name");
    for (const Json::Value& file : ArrayMember(serverNode, "files")) {
        const std::string name = StringMember(file, "name");
        const std::string md5 = StringMember(file, "MD5");
        if (!local.IsFileChanged(md5, folder + "/" + name)) continue;
        if (IsNeverFetchedName(name)) continue;
        UpdateItem item;
        item.localPath = target.stagingFolder + "/" + ManifestNameToPath(relative + name);
        item.fileName = name;
        item.md5 = md5;
        item.sha256 = StringMember(file, "SHA256");
        item.url = target.updateBaseUrl;
        // The URL path mirrors the relative path, segment by segment.
        size_t start = 0;
        while (start < relative.size()) {
            const size_t slash = relative.find('/', start);
            item.url += UrlPathSegment(relative.substr(start, slash - start));
            item.url += '/';
            start = slash + 1;
        }
        item.url += UrlPathSegment(name);
        item.ready = 1;
        list.push_back(std::move(item));
    }
    for (const Json::Value& child : ArrayMember(serverNode, "subdirs"))
        CollectChangedFiles(child, folder, relative + StringMember(child, "name") + "/", list,
                            local, target);
}

bool ComputeUpdateList(const std::string& serverManifestFile, const std::string& localManifestFile,
                       const UpdateTarget& target, std::vector<UpdateItem>& list,
                       bool requireSha256) {
    list.clear();
    Json::Value localRoot;
    ReadJsonFile(localManifestFile, localRoot);
    Json::Value serverRoot;
    if (!ReadJsonFile(serverManifestFile, serverRoot)) {
        platform::DebugOutput("MS - 服务器的文件清单无法读取");
        return false;
    }
    std::string problem;
    if (!ValidateServerManifest(serverRoot, &problem, requireSha256)) {
        platform::DebugOutput("MS - 服务器的文件清单被拒绝: " + problem);
        return false;
    }
    CollectChangedFiles(serverRoot, "", "", list, LocalManifestIndex(localRoot), target);
    if (!list.empty()) {
        platform::DebugOutput("MS - -----以下文件需要更新--------");
        for (const UpdateItem& item : list)
            platform::DebugOutput("MS - " + ManifestNameToPath(item.fileName));
    }
    return true;
}

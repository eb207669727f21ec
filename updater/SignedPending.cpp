#include "updater/SignedPending.h"

#include <json/value.h>

#include <unordered_map>

#include "platform/DebugLog.h"
#include "updater/ManifestJson.h"
#include "updater/PendingList.h"
#include "updater/UpdateList.h"
#include "updater/UpdateSignature.h"
#include "updater/UpdaterConfig.h"

namespace {

// The manifest (at most kMaxJsonFileBytes) as a JSON string may grow by its escapes.
constexpr size_t kMaxSignedUpdateBytes = kMaxJsonFileBytes * 6 + 64 * 1024;

constexpr const char* kMembers[] = {"manifest", "manifestSignature", "version", "versionSignature"};

}  // namespace

std::string SignedUpdatePath(const std::string& stagingFolder) {
    return stagingFolder + "/UpdateLst.signed";
}

bool WriteSignedUpdate(const std::string& path, const SignedUpdate& update) {
    Json::Value root;
    root["manifest"] = update.manifest;
    root["manifestSignature"] = update.manifestSignature;
    root["version"] = update.version;
    root["versionSignature"] = update.versionSignature;
    return WriteTextFile(path, WriteFastJson(root));
}

std::optional<SignedUpdate> ReadSignedUpdate(const std::string& path) {
    Json::Value root;
    if (!ReadJsonFile(path, root, kMaxSignedUpdateBytes) || !root.isObject()) return std::nullopt;
    for (const char* member : kMembers)
        if (!root[member].isString()) return std::nullopt;
    return SignedUpdate{root["version"].asString(), root["versionSignature"].asString(),
                        root["manifest"].asString(), root["manifestSignature"].asString()};
}

bool IsPendingListSigned(const PendingList& list, const std::string& stagingFolder,
                         const PublisherKey& key, std::string* problem) {
    std::string why;
    const auto fail = [&](std::string reason) {
        if (problem) *problem = std::move(reason);
        return false;
    };
    const std::optional<SignedUpdate> update = ReadSignedUpdate(SignedUpdatePath(stagingFolder));
    if (!update) return fail("no signed manifest is kept with the pending list");
    if (!key.VerifyVersion(update->version, update->versionSignature, &why)) return fail(why);
    if (!key.VerifyManifest(ParseVersionNumber(update->version), update->manifest,
                            update->manifestSignature, &why))
        return fail(why);
    Json::Value root;
    if (!ParseJsonText(update->manifest, root) || !ValidateServerManifest(root, &why, true))
        return fail("the signed manifest is refused: " + why);

    // Every file of the signed manifest, by its staging path.
    std::vector<UpdateItem> files;
    CollectChangedFiles(root, "", "", files, LocalManifestIndex(Json::Value()),
                        {stagingFolder, ""});
    std::unordered_multimap<std::string, const UpdateItem*> byPath;
    for (const UpdateItem& file : files) byPath.emplace(file.localPath, &file);
    for (const PendingEntry& entry : list.files) {
        const auto [begin, end] = byPath.equal_range(entry.filename);
        bool listed = false;
        for (auto it = begin; it != end && !listed; ++it)
            listed = it->second->md5 == entry.md5 && it->second->sha256 == entry.sha256;
        if (!listed) return fail(entry.filename + " is not a file of the signed manifest");
    }
    if (problem) problem->clear();
    return true;
}

bool MayUsePendingList(const UpdaterConfig& config, const PendingList& list) {
    const PublisherKey key = PublisherKey::Load(config.appPath);
    if (!key.required()) return true;
    std::string problem;
    if (IsPendingListSigned(list, config.stagingFolder, key, &problem)) return true;
    platform::DebugOutput("MS - 待安装列表未通过签名校验, 拒绝安装: " + problem);
    return false;
}

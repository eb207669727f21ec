#include "tools/sign-update/UpdateTreeSigning.h"

#include <json/value.h>

#include <functional>

#include "updater/FileDigest.h"
#include "updater/ManifestJson.h"
#include "updater/ManifestNames.h"
#include "updater/UpdateList.h"
#include "updater/UpdaterConfig.h"

namespace {

constexpr size_t kMaxVersionFileBytes = 64 * 1024;

bool Fail(std::string* problem, std::string reason) {
    if (problem) *problem = std::move(reason);
    return false;
}

// Calls `visit` with every file object of the manifest and its path in the tree; stops
// at the first false.
bool ForEachFile(Json::Value& node, const std::string& folder,
                 const std::function<bool(Json::Value&, const std::string&)>& visit) {
    // Members are looked up only when present: a lookup on a non-const value adds them.
    if (node.isMember("files"))
        for (Json::Value& file : node["files"])
            if (!visit(file, folder + "/" + ManifestNameToPath(file["name"].asString())))
                return false;
    if (node.isMember("subdirs"))
        for (Json::Value& child : node["subdirs"])
            if (!ForEachFile(child, folder + "/" + ManifestNameToPath(child["name"].asString()),
                             visit))
                return false;
    return true;
}

struct TreeFiles {
    std::string version;
    std::string manifest;
    Json::Value root;
};

bool ReadTree(const std::string& tree, TreeFiles& files, std::string* problem) {
    if (ReadBoundedFile(tree + "/Version.txt", kMaxVersionFileBytes, files.version) !=
        platform::ReadStatus::kRead)
        return Fail(problem, tree + "/Version.txt cannot be read");
    if (ParseVersionNumber(files.version) <= 0)
        return Fail(problem, tree + "/Version.txt holds no version above 0");
    if (ReadBoundedFile(tree + "/Update.txt", kMaxJsonFileBytes, files.manifest) !=
        platform::ReadStatus::kRead)
        return Fail(problem, tree + "/Update.txt cannot be read (or is above 8 MiB)");
    if (!ParseJsonText(files.manifest, files.root))
        return Fail(problem, tree + "/Update.txt is not JSON");
    return true;
}

std::string ReadSignature(const std::string& path) {
    std::string text;
    ReadBoundedFile(path, kMaxSignatureFileBytes, text);
    return text;
}

}  // namespace

bool SignUpdateTree(const std::string& tree, const Ed25519Key& key, std::string* problem) {
    TreeFiles files;
    if (!ReadTree(tree, files, problem)) return false;
    std::string why;
    if (!ValidateServerManifest(files.root, &why))
        return Fail(problem, tree + "/Update.txt is refused: " + why);
    const bool consistent =
        ForEachFile(files.root, tree, [&](Json::Value& file, const std::string& path) {
            const std::optional<ExpectedDigest> digests = FileDigests(path);
            if (!digests) return Fail(&why, path + " is listed but cannot be read");
            if (!SameDigest(digests->md5, file["MD5"].asString()))
                return Fail(&why, path + " does not have the manifest's MD5");
            file["SHA256"] = digests->sha256;
            return true;
        });
    if (!consistent) return Fail(problem, why);

    const std::string manifest = WriteFastJson(files.root);
    const int version = ParseVersionNumber(files.version);
    const auto versionSignature = key.Sign(VersionSignedBytes(files.version));
    const auto manifestSignature = key.Sign(ManifestSignedBytes(version, manifest));
    if (!versionSignature || !manifestSignature) return Fail(problem, "the key cannot sign");
    if (!WriteTextFile(tree + "/Update.txt", manifest) ||
        !WriteTextFile(tree + "/Update.txt.sig", FormatSignatureFile(*manifestSignature)) ||
        !WriteTextFile(tree + "/Version.txt.sig", FormatSignatureFile(*versionSignature)))
        return Fail(problem, "cannot write into " + tree);
    return true;
}

bool VerifyUpdateTree(const std::string& tree, const PublisherKey& key, std::string* problem) {
    TreeFiles files;
    if (!ReadTree(tree, files, problem)) return false;
    std::string why;
    if (!key.VerifyVersion(files.version, ReadSignature(tree + "/Version.txt.sig"), &why) ||
        !key.VerifyManifest(ParseVersionNumber(files.version), files.manifest,
                            ReadSignature(tree + "/Update.txt.sig"), &why))
        return Fail(problem, why);
    if (!ValidateServerManifest(files.root, &why, true))
        return Fail(problem, tree + "/Update.txt is refused: " + why);
    const bool complete =
        ForEachFile(files.root, tree, [&](Json::Value& file, const std::string& path) {
            if (FileHasDigest(path, {file["MD5"].asString(), file["SHA256"].asString()}))
                return true;
            return Fail(&why, path + " is missing or does not have the manifest's digests");
        });
    return complete || Fail(problem, why);
}

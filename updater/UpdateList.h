#pragma once

#include <json/value.h>

#include <string>
#include <unordered_map>
#include <vector>

// The comparison of the server manifest with the local one: which files to fetch.

// One file to fetch.
struct UpdateItem {
    std::string localPath;  // staging path: stagingFolder + the file's path below the root
    std::string fileName;   // the manifest's "name" (ANSI)
    std::string url;        // updateBaseUrl + the path below the root, "/"-separated
    std::string md5;        // the server manifest's "MD5"
    std::string sha256;     // the server manifest's "SHA256", "" when it names none
    int ready = 1;          // written as the pending list's "success"
};

// Where fetched files go and where they come from.
struct UpdateTarget {
    std::string stagingFolder;  // no trailing "/"
    std::string updateBaseUrl;  // ends in "/"
};

// The files a local manifest lists, by full path ("/" + root name + "/" + ... + "/" +
// file name, ANSI), with their digests. Within one folder the first entry of a name
// counts (later duplicates are not looked at); the same path reached through
// duplicate folders may carry several digests.
class LocalManifestIndex {
public:
    explicit LocalManifestIndex(const Json::Value& localRoot);
    // False exactly when the local tree lists `fullPath` with the digest `md5` (exact,
    // case-sensitive comparison).
    bool IsFileChanged(const std::string& md5, const std::string& fullPath) const;

private:
    void Add(const Json::Value& node, const std::string& prefix);
    std::unordered_map<std::string, std::vector<std::string>> digests_;
};

// Largest number of folders and files a server manifest may hold.
inline constexpr size_t kMaxManifestEntries = 100'000;

// Checks a server manifest before any of it is used: the root and every folder are
// objects; every name (root, folders, files) is a safe name (IsSafeManifestName);
// "files" and "subdirs" are arrays when present; every file has a 32-digit hex "MD5",
// and a "SHA256" of 64 hex digits where it has one (with `requireSha256`, every file
// must have one); at most kMaxManifestEntries entries. Any fault refuses the whole
// manifest, so a damaged or hostile manifest never leads to half an update. `problem`
// tells which.
bool ValidateServerManifest(const Json::Value& root, std::string* problem = nullptr,
                            bool requireSha256 = false);

// Appends an item for every file of the (validated) server tree under `serverNode`
// that the local index reports changed, except "Config.cfg" and "Version.txt" in any
// letter case: depth first, each folder's files before its subfolders. `prefix` is
// the full path of the parent folder ("" for the root) and `relative` the path of
// `serverNode` below the root with a trailing "/" ("" for the root), both ANSI and
// "/"-separated.
void CollectChangedFiles(const Json::Value& serverNode, const std::string& prefix,
                         const std::string& relative, std::vector<UpdateItem>& list,
                         const LocalManifestIndex& local, const UpdateTarget& target);

// Parses both manifest files (a missing or invalid local manifest counts as empty)
// and fills `list` (emptied first). A missing, unreadable or refused server manifest
// (see ValidateServerManifest) gives an empty list and false.
bool ComputeUpdateList(const std::string& serverManifestFile, const std::string& localManifestFile,
                       const UpdateTarget& target, std::vector<UpdateItem>& list,
                       bool requireSha256 = false);

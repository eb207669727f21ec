#pragma once

#include <optional>
#include <string>

struct PendingList;
struct UpdaterConfig;
class PublisherKey;

// With a publisher key in the installation, a pending list is used (installed, or
// counted as ready) only when it comes from a verified update: the check keeps the
// server's signed files in the staging folder beside the pending list, and before
// anything staged is used their signatures are verified again and every pending
// entry must be a file of that manifest, at its staging path, with its MD5 and
// SHA-256. A pending list written or changed by anyone else is refused.

// The server's files as they were verified.
struct SignedUpdate {
    std::string version;            // "Version.txt"
    std::string versionSignature;   // "Version.txt.sig"
    std::string manifest;           // "Update.txt"
    std::string manifestSignature;  // "Update.txt.sig"
};

// "UpdateLst.signed" in the staging folder: one JSON object with the four texts as
// "manifest", "manifestSignature", "version" and "versionSignature".
std::string SignedUpdatePath(const std::string& stagingFolder);
bool WriteSignedUpdate(const std::string& path, const SignedUpdate& update);
// Nothing when the file is missing, too large or malformed.
std::optional<SignedUpdate> ReadSignedUpdate(const std::string& path);

// True when `list` is signed by `key`: the signed update in `stagingFolder` verifies
// and names every entry of the list with the entry's digests. Otherwise false, with
// the reason in `problem`.
bool IsPendingListSigned(const PendingList& list, const std::string& stagingFolder,
                         const PublisherKey& key, std::string* problem);

// True when the installation of `config` may use `list`: always without a key file;
// with one, only when the list is signed by that key. A refusal is logged.
bool MayUsePendingList(const UpdaterConfig& config, const PendingList& list);

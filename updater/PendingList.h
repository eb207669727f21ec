#pragma once

#include <optional>
#include <string>
#include <vector>

#include "updater/FileDigest.h"
#include "updater/UpdateList.h"

struct UpdaterConfig;

// The pending-download list "UpdateLst.cfg" at the top of the staging folder: the
// files of the update being downloaded or waiting to be installed. JSON in the
// manifest byte format: {"files":[{"filename":…,"md5":…,"url":…},…],"success":1}.
// "filename" is the staged file's full native path. An entry whose manifest names a
// SHA-256 also carries it as "sha256" (between "md5" and "url").

struct PendingEntry {
    std::string filename;
    std::string md5;
    std::string sha256;  // "" when the entry has none
    std::string url;

    ExpectedDigest digest() const { return {md5, sha256}; }
};

struct PendingList {
    std::vector<PendingEntry> files;
    int success = 0;
};

// Replaces the list with one entry per item ("success" is the last item's `ready`
// as 0 or 1); an empty `items` only removes the list.
void WritePendingList(const std::string& pendingListPath, const std::vector<UpdateItem>& items);

// Rewrites the list with `entries` ("success" 1); an empty `entries` removes it.
void WritePendingEntries(const std::string& pendingListPath,
                         const std::vector<PendingEntry>& entries);

// The list, or nothing when it is missing, too large or malformed (not an object,
// "files" not an array of objects with string members, "success" present but not an
// integer). A missing "success" reads as 0, a missing "sha256" as "".
std::optional<PendingList> ReadPendingList(const std::string& pendingListPath);

// The path of a staged file below the staging folder as its components, or nothing
// when `filename` does not lie below `stagingFolder` or any component is not a plain
// name ("", ".", "..").
std::optional<std::vector<std::string>> StagedComponents(const std::string& filename,
                                                         const std::string& stagingFolder);

// True when a list left by an earlier run is complete: it names at least one file,
// its "success" is not 0, and every listed file lies below the staging folder and is
// there with its listed digests. A list of which only some files arrived (a quit in
// mid-download) is not ready, so half an update is never installed. With a publisher
// key in the installation the list must also be signed (MayUsePendingList).
bool IsPendingUpdateReady(const UpdaterConfig& config);

#pragma once

#include <string>
#include <vector>

#include "updater/UpdateList.h"

struct UpdaterConfig;

enum class CheckOutcome {
    kNoUpdate,        // nothing to do: close
    kInstallPending,  // a complete download of an earlier run waits: install it now
    kDownload,        // `updateList` names the files to fetch
};

struct CheckResult {
    CheckOutcome outcome = CheckOutcome::kNoUpdate;
    std::vector<UpdateItem> updateList;
    int serverVersion = 0;  // the leading number of "Version.txt" ("" counts as 0)
};

// The update check, in order:
//  1. a complete pending list from an earlier run is installed before any network
//     access;
//  2. "Version.txt" is fetched; a server version not above the installed one ends
//     the check;
//  3. "Update.txt" is fetched into the server manifest file;
//  4. the installation is digested into the local manifest and compared;
//  5. with files to fetch, the staging folder is emptied and the pending list written.
// With a publisher key in the installation ("Config/UpdateKey.pub"), "Version.txt"
// and "Update.txt" are each used only once their signatures ("Version.txt.sig",
// "Update.txt.sig") are verified, every file must carry a SHA-256 in the manifest,
// and the verified files are kept in the staging folder with the pending list; any
// failure ends the check with nothing changed. Blocks on the network: never call it
// on the user-interface thread.
CheckResult RunUpdateCheck(const UpdaterConfig& config);

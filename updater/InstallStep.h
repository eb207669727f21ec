#pragma once

#include <string>

struct UpdaterConfig;

// The install step: the updater started with "copyfile" moves the staged files of a
// complete pending list into the client's installation folder and starts the client.

struct InstallSummary {
    bool listRead = false;  // a pending list was there and readable
    bool refused = false;   // the installation holds a publisher key and the list is not
                            // signed by it: nothing was installed
    int installed = 0;      // files that replaced their targets
    int skipped = 0;        // entries whose staged file is missing, foreign or damaged
    int failed = 0;         // staged files whose target could not be replaced
};

// Installs every entry of the pending list whose staged file is present with its
// digests: only the files the list names, only below `config.appPath`, each by rename
// from a complete copy in the target's folder. With a publisher key in the
// installation, nothing is installed unless the list is signed (MayUsePendingList).
// Nothing in the staging folder is changed (the elevated step must not write into
// the user's folders).
InstallSummary InstallPendingFiles(const UpdaterConfig& config);

// Clears what has been installed, as the user: drops every pending entry whose target
// already holds the listed digest, with its staged file, and removes the staging
// folder once no entry is left. Entries not yet installed stay with their files, so
// the next run installs them before anything else.
void ReconcilePending(const UpdaterConfig& config);

// True when this process is the elevated install step: root, started through pkexec
// (which sets PKEXEC_UID).
bool IsElevatedInstallStep();

// True when both paths name the same existing folder.
bool SameFolder(const std::string& a, const std::string& b);

// The install mode of the entry. After the files, the client is started again; when
// some file could not be installed it is started with "/noupdate", so that its own
// updater does not end it again at once (the next start tries again). An elevated
// step accepts only an "AppPath" equal to its own folder (the path comes from a file
// the user can write, and a root process must not install into a folder the user
// picked), then installs into its own folder (not through the user's path, which the
// user could point elsewhere in the meantime), and starts nothing: a client started
// by root would run as root.
void InstallStagedFiles(const UpdaterConfig& config);

// Removes the folder `path` with everything below it (links are removed, not
// followed). False when `path` is not a folder.
bool DeleteDirectoryTree(const std::string& path);

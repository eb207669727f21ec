#pragma once

#include <json/value.h>

#include <string>

struct UpdaterConfig;

// The manifest of the installed files: a JSON tree of folders ("name", "files",
// "subdirs") with the MD5 of every file ("MD5", "name"), names in the ANSI code page.

// Files the walk leaves out: the user's settings file and the server manifest copy
// "Update.txt" at the top of the installation, both compared as exact paths.
struct ManifestExclusions {
    std::string userConfigPath;
    std::string topUpdateFile;  // <installation>/Update.txt
};

// Fills `node` with the tree below `folderPath`. The root is named `rootName` (ANSI)
// when that is not empty, else after the folder's last component. Entries come in the
// order the file system lists them; a folder that cannot be listed keeps only its
// name; a file that cannot be read gets the digest "". Symbolic links to files count
// as files; links to folders are not followed (a link cycle would never end), and
// pipes, sockets and devices are left out. Returns true.
bool BuildDirManifest(Json::Value& node, const std::string& folderPath, const std::string& rootName,
                      const ManifestExclusions& exclusions);

// Walks the installation folder `appPath` (root named `appName`) and writes the tree
// to `localManifestPath` in the manifest byte format. True once the walk is done,
// whether or not the file could be written.
bool WriteLocalManifest(const UpdaterConfig& config, const std::string& appPath);

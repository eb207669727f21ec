#pragma once

#include <string>

// Where the client keeps its files. Paths are native UTF-8; folders named "...Folder"
// end in "/" unless noted.
struct ClientPaths {
    // The installation folder with a trailing "/" (the window framework's instance path).
    std::string instancePath;
    // The running executable's full path; its folder holds the channel file.
    std::string executablePath;
    // Per-user data: application-data folder + "/Trovik/".
    std::string dataFolder;
    // Application-data folder + "/ParseTaskServices" (no trailing "/"): the start-up record.
    std::string startupRecordFolder;
    // The temporary folder, with a trailing "/".
    std::string tempFolder;
    // Per-user settings, shared with the updater: data folder + "Config/Config.cfg".
    std::string configFile;
    // Installation settings, read only: instance path + "Config/AutoCfg.cfg".
    std::string autoCfgFile;
    // The cached downloaded lists: data folder + "Hot/Hot.cfg" and "LinkSite/LinkSite.cfg".
    std::string hotListFile;
    std::string linkSiteListFile;

    // The channel file "goption.ini" beside the running executable.
    std::string ChannelFile() const;
    // The start-up record: start-up record folder + "/Cfg.cfg".
    std::string StartupRecordFile() const;
    // Downloaded background images: data folder + "Theme/" (created by its user).
    std::string ThemeFolder() const;
};

// Computes the path set and creates the data folder, the start-up record folder and
// the data folder's "Config/" (every missing level; failures are ignored, the files
// then simply cannot be written). The list folders are created when the lists are
// downloaded. `instancePath` gains a trailing "/" when it has none.
ClientPaths MakeClientPaths(const std::string& instancePath, const std::string& executablePath);

// The client's process-wide path set, filled once at start-up by SetUpClientPaths.
ClientPaths& ProcessClientPaths();
// `executablePath` empty: the running executable.
void SetUpClientPaths(const std::string& instancePath, const std::string& executablePath = {});

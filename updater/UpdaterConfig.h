#pragma once

#include <string>
#include <string_view>

// What the updater knows about the installation, the user's files and the update
// server, filled once at start-up by LoadUpdaterConfig and unchanged afterwards.
//
// Paths are native (UTF-8) file-system paths. The texts that travel into manifests
// and URLs (host, appName, channel, updateBaseUrl) are the bytes of the ini file, in
// the ANSI code page (GB18030), as the manifests are.
struct UpdaterConfig {
    std::string dataFolder;          // $XDG_DATA_HOME/Trovik/ (with the trailing "/")
    std::string userConfigPath;      // dataFolder + "Config/Config.cfg", shared with the client
    std::string installConfigPath;   // <folder of morvane>/Config/AutoCfg.cfg
    std::string localManifestPath;   // dataFolder + "Config/LocalUpdate.json"
    std::string serverManifestPath;  // dataFolder + "Config/SvrUpdate.json"
    std::string pendingListPath;     // stagingFolder + "/UpdateLst.cfg"
    std::string stagingFolder;       // dataFolder + "UpdateDir" (no trailing "/")

    std::string host;     // "UpdateServer" "Host"
    std::string appName;  // "UpdateServer" "AppName": also the local manifest's root name
    std::string channel;  // "UpdateServer" "Channel"
    std::string updateBaseUrl;

    // "Version" "Ver", or the build number of the client's file version when that is 0.
    int installedVersion = 0;

    // The running client's window (class and title), found to end the client.
    std::wstring clientWindowText;
    std::wstring clientClassText;
    std::string appPath;      // the client's installation folder, without a trailing "/"
    std::string appFullName;  // the client executable, started again after an install
    int immediateUpdate = 0;  // "Local" "ImmediateUpdate": install without asking
};

// Reads the configuration: the user's "Config.cfg" below $XDG_DATA_HOME/Trovik/Config/
// and "Config/AutoCfg.cfg" below `programFolder` (the folder of the running updater).
// With `createFolders` the data folder and its "Config/" are created when missing.
UpdaterConfig LoadUpdaterConfig(const std::string& programFolder, bool createFolders = true);

// host + "/" + appName + "/" + channel + "/", each "/" added only when the text does
// not already end with one; "" for an empty host.
std::string MakeUpdateBaseUrl(const std::string& host, const std::string& appName,
                              const std::string& channel);

// The leading decimal number of a text as the C library's atoi reads it (leading
// white space, one sign, digits up to the first other character), clamped to the
// range of int instead of overflowing; 0 when there is none.
int ParseVersionNumber(std::string_view text);

// The build number of a file version text "a.b.c.d": the number after its last ".";
// 0 for an empty text.
int BuildNumberOf(std::string_view versionText);

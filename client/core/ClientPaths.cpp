#include "client/core/ClientPaths.h"

#include "platform/Folders.h"

namespace {

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The folder part of a file path, without the trailing "/".
std::string FolderOf(const std::string& filePath) {
    const auto slash = filePath.rfind('/');
    if (slash == std::string::npos) return {};
    return filePath.substr(0, slash);
}

}  // namespace

std::string ClientPaths::ChannelFile() const {
    return FolderOf(executablePath) + "/goption.ini";
}

std::string ClientPaths::StartupRecordFile() const {
    return startupRecordFolder + "/Cfg.cfg";
}

std::string ClientPaths::ThemeFolder() const {
    return dataFolder + "Theme/";
}

ClientPaths MakeClientPaths(const std::string& instancePath, const std::string& executablePath) {
    ClientPaths paths;
    paths.instancePath = WithTrailingSlash(instancePath);
    paths.executablePath = executablePath;

    const std::string appData = platform::AppDataFolder();
    paths.dataFolder = appData + "/Trovik/";
    platform::MakeDirectoryPath(paths.dataFolder);

    paths.startupRecordFolder = appData + "/ParseTaskServices";
    platform::MakeDirectoryPath(paths.startupRecordFolder);

    paths.tempFolder = platform::TempFolder();

    const std::string configFolder = paths.dataFolder + "Config/";
    platform::MakeDirectoryPath(configFolder);
    paths.configFile = configFolder + "Config.cfg";

    paths.autoCfgFile = paths.instancePath + "Config/AutoCfg.cfg";
    paths.hotListFile = paths.dataFolder + "Hot/Hot.cfg";
    paths.linkSiteListFile = paths.dataFolder + "LinkSite/LinkSite.cfg";
    return paths;
}

ClientPaths& ProcessClientPaths() {
    static ClientPaths paths;
    return paths;
}

void SetUpClientPaths(const std::string& instancePath, const std::string& executablePath) {
    ProcessClientPaths() = MakeClientPaths(
        instancePath, executablePath.empty() ? platform::ExecutablePath() : executablePath);
}

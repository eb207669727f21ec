#include "updater/UpdaterConfig.h"

#include <climits>

#include "platform/CodePage.h"
#include "platform/FileVersion.h"
#include "platform/Folders.h"
#include "platform/ProfileFile.h"

namespace {

// Text keys are read as into the original's 1,024-byte buffers.
constexpr size_t kTextBuffer = 1024;

std::string WithSlash(std::string text) {
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// A path key of Config.cfg: written by the client with the wide functions, so its
// bytes are GB18030; the file system wants UTF-8.
std::string ReadPath(const wchar_t* key, const std::string& file) {
    return platform::WideToUtf8(platform::ReadProfileString(L"Local", key, L"", file, kTextBuffer));
}

}  // namespace

std::string MakeUpdateBaseUrl(const std::string& host, const std::string& appName,
                              const std::string& channel) {
    if (host.empty()) return {};
    return WithSlash(WithSlash(WithSlash(host) + appName) + channel);
}

int ParseVersionNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int BuildNumberOf(std::string_view versionText) {
    if (versionText.empty()) return 0;
    const size_t dot = versionText.rfind('.');
    return ParseVersionNumber(dot == std::string_view::npos ? versionText
                                                            : versionText.substr(dot + 1));
}

UpdaterConfig LoadUpdaterConfig(const std::string& programFolder, bool createFolders) {
    UpdaterConfig config;
    config.dataFolder = platform::AppDataFolder() + "/Trovik/";
    const std::string configFolder = config.dataFolder + "Config/";
    if (createFolders) {
        platform::MakeDirectoryPath(config.dataFolder);
        platform::MakeDirectoryPath(configFolder);
    }
    config.localManifestPath = configFolder + "LocalUpdate.json";
    config.serverManifestPath = configFolder + "SvrUpdate.json";
    config.installConfigPath = WithSlash(programFolder) + "Config/AutoCfg.cfg";
    config.userConfigPath = configFolder + "Config.cfg";
    config.stagingFolder = config.dataFolder + "UpdateDir";
    config.pendingListPath = config.stagingFolder + "/UpdateLst.cfg";

    const std::string& autoCfg = config.installConfigPath;
    config.host = platform::ReadProfileString("UpdateServer", "Host", "", autoCfg, kTextBuffer);
    config.appName =
        platform::ReadProfileString("UpdateServer", "AppName", "", autoCfg, kTextBuffer);
    config.channel =
        platform::ReadProfileString("UpdateServer", "Channel", "", autoCfg, kTextBuffer);

    const std::string& user = config.userConfigPath;
    config.installedVersion = platform::ReadProfileInt("Version", "Ver", 0, user);
    config.updateBaseUrl = MakeUpdateBaseUrl(config.host, config.appName, config.channel);

    config.clientWindowText =
        platform::ReadProfileString(L"Local", L"WindowText", L"", user, kTextBuffer);
    config.clientClassText =
        platform::ReadProfileString(L"Local", L"ClassText", L"", user, kTextBuffer);
    config.appPath = WithoutTrailingSlashes(ReadPath(L"AppPath", user));
    config.appFullName = ReadPath(L"AppFullName", user);
    config.immediateUpdate = platform::ReadProfileInt("Local", "ImmediateUpdate", 0, user);

    // Without a stored version the client's own file version tells what is installed
    // (an empty path reads the updater's own).
    if (config.installedVersion == 0)
        config.installedVersion = BuildNumberOf(platform::FileVersionText(config.appFullName));
    return config;
}

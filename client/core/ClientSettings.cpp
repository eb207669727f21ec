#include "client/core/ClientSettings.h"

#include "client/core/GuidText.h"
#include "platform/AutoStart.h"
#include "platform/CodePage.h"
#include "platform/Folders.h"
#include "platform/ProfileFile.h"

namespace {

// Buffer sizes of the stored texts: a longer value is cut to one less.
constexpr size_t kBackGroundChars = 260;
constexpr size_t kGuidBytes = 256;
constexpr size_t kChidBytes = 256;
constexpr size_t kServerTextBytes = 1024;

void AppendSlashIfMissing(std::string& text) {
    if (text.empty() || text.back() != '/') text += '/';
}

void WriteFlag(std::string_view key, bool value, const std::string& file) {
    platform::WriteProfileString("BaseSet", key, value ? "1" : "0", file);
}

void ReadUserSettings(ClientSettings& settings, const ClientPaths& paths) {
    const std::string& file = paths.configFile;
    settings.AutoStart = platform::ReadProfileInt("BaseSet", "AutoStart", 1, file) != 0;
    settings.MinShowInBar = platform::ReadProfileInt("BaseSet", "MinShowInBar", 1, file) != 0;
    settings.QuitOnClose = platform::ReadProfileInt("BaseSet", "QuitOnClose", 0, file) != 0;
    settings.ShowFloatingWindow =
        platform::ReadProfileInt("BaseSet", "ShowFloatingWindow", 0, file) != 0;
    settings.PosX = platform::ReadProfileInt("BaseSet", "PosX", 0, file);
    settings.PosY = platform::ReadProfileInt("BaseSet", "PosY", 0, file);
    settings.BackGround =
        platform::ReadProfileString(L"Theme", L"BackGround", L"", file, kBackGroundChars);

    settings.Guid = platform::ReadProfileString("BaseSet", "GUID", "", file, kGuidBytes);
    if (settings.Guid.empty()) {
        settings.Guid = MakeGuidText();
        if (!settings.Guid.empty())
            platform::WriteProfileString("BaseSet", "GUID", settings.Guid, file);
    }

    settings.Chid =
        platform::ReadProfileString("option", "chid", "", paths.ChannelFile(), kChidBytes);
}

void ReadInstallationSettings(ClientSettings& settings, const ClientPaths& paths) {
    const std::string& file = paths.autoCfgFile;
    std::string base =
        platform::ReadProfileString("UpdateServer", "Host", "", file, kServerTextBytes);
    AppendSlashIfMissing(base);
    base += platform::ReadProfileString("UpdateServer", "AppName", "", file, kServerTextBytes);
    AppendSlashIfMissing(base);
    settings.HotBaseUrl = base + "Hot/";
    settings.LinkSiteBaseUrl = base + "LinkSite/";
    settings.ThemeBaseUrl = base + "Theme/";
}

}  // namespace

ClientSettings& ProcessClientSettings() {
    static ClientSettings settings;
    return settings;
}

bool LoadSettings(ClientSettings& settings, const ClientPaths& paths) {
    // The very first start has no per-user file yet: everything keeps its initial
    // value, and no GUID is made until the file exists.
    if (platform::PathExists(paths.configFile)) ReadUserSettings(settings, paths);
    if (platform::PathExists(paths.autoCfgFile)) ReadInstallationSettings(settings, paths);
    return true;
}

bool LoadSettings() {
    return LoadSettings(ProcessClientSettings(), ProcessClientPaths());
}

bool SaveSettings(const ClientSettings& settings, const ClientPaths& paths) {
    WriteFlag("AutoStart", settings.AutoStart, paths.configFile);
    WriteFlag("MinShowInBar", settings.MinShowInBar, paths.configFile);
    WriteFlag("QuitOnClose", settings.QuitOnClose, paths.configFile);
    WriteFlag("ShowFloatingWindow", settings.ShowFloatingWindow, paths.configFile);
    WriteStartupRecord(settings, paths);
    return true;
}

bool SaveSettings() {
    return SaveSettings(ProcessClientSettings(), ProcessClientPaths());
}

void WriteStartupRecord(const ClientSettings& settings, const ClientPaths& paths) {
    const std::string file = paths.StartupRecordFile();
    platform::WriteProfileString("AppPath", "AutoStart", settings.AutoStart ? "1" : "0", file);
    // The path is UTF-8 on disk but the file's text is in the ANSI code page.
    platform::WriteProfileString(L"AppPath", L"FileName",
                                 platform::Utf8ToWide(paths.executablePath), file);
    platform::WriteProfileString("AppPath", "CmdLine", "/runashide", file);
    platform::WriteProfileString("AppPath", "CmdShow", "0", file);
}

void ApplyAutoStart(bool on, const ClientPaths& paths) {
    platform::SetAutoStart(on, paths.executablePath);
}

void ApplyAutoStart(bool on) {
    ApplyAutoStart(on, ProcessClientPaths());
}

void SaveFloatingPosition(ClientSettings& settings, const ClientPaths& paths, int32_t left,
                          int32_t top) {
    settings.PosX = left;
    settings.PosY = top;
    platform::WriteProfileString("BaseSet", "PosX", std::to_string(left), paths.configFile);
    platform::WriteProfileString("BaseSet", "PosY", std::to_string(top), paths.configFile);
}

void SaveFloatingPosition(int32_t left, int32_t top) {
    SaveFloatingPosition(ProcessClientSettings(), ProcessClientPaths(), left, top);
}

void SaveBackGround(ClientSettings& settings, const ClientPaths& paths,
                    const std::wstring& imagePath) {
    settings.BackGround = imagePath;
    platform::WriteProfileString(L"Theme", L"BackGround", imagePath, paths.configFile);
}

void SaveBackGround(const std::wstring& imagePath) {
    SaveBackGround(ProcessClientSettings(), ProcessClientPaths(), imagePath);
}

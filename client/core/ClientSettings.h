#pragma once

#include <cstdint>
#include <string>

#include "client/core/ClientPaths.h"

// The client's user choices and identity. A default-constructed record holds the
// values in force when no settings file supplies one.
struct ClientSettings {
    bool AutoStart = true;            // start with the desktop session
    bool MinShowInBar = true;         // shown and saved by the settings dialog only
    bool QuitOnClose = false;         // closing the main window ends the program
    bool ShowFloatingWindow = false;  // the floating tool window is visible
    int32_t PosX = 0;                 // floating tool window's top-left corner
    int32_t PosY = 0;
    std::wstring BackGround;      // full path of the chosen background image
    std::string Guid;             // installation GUID, "{...}" with 38 characters
    std::string Chid;             // channel identifier from "goption.ini"
    std::string HotBaseUrl;       // update server prefix ending in "Hot/"
    std::string LinkSiteBaseUrl;  // ... ending in "LinkSite/"
    std::string ThemeBaseUrl;     // ... ending in "Theme/"
};

// The process-wide record of the running client. Written on the UI thread only;
// worker threads read fields that no longer change once they start.
ClientSettings& ProcessClientSettings();

// Reads "Config.cfg" (when it exists: flags, position, background, GUID, and then the
// channel from "goption.ini") and "AutoCfg.cfg" (when it exists: the three update
// server prefixes). A present "Config.cfg" without a GUID gains a new one at once.
// Values not supplied by a file keep what `settings` holds. Returns true.
bool LoadSettings(ClientSettings& settings, const ClientPaths& paths);
bool LoadSettings();

// Writes the four "BaseSet" flags as 0 or 1, then the start-up record. Returns true.
bool SaveSettings(const ClientSettings& settings, const ClientPaths& paths);
bool SaveSettings();

// Writes "Cfg.cfg" in the start-up record folder: "AppPath" keys "AutoStart",
// "FileName" (the executable), "CmdLine" "/runashide" and "CmdShow" "0".
void WriteStartupRecord(const ClientSettings& settings, const ClientPaths& paths);

// Adds (on) or removes (off) the login autostart entry that starts the executable.
// Failures are ignored.
void ApplyAutoStart(bool on, const ClientPaths& paths);
void ApplyAutoStart(bool on);

// Stores the floating tool window's top-left corner in PosX/PosY and in "Config.cfg".
// The caller takes it from the window's rectangle.
void SaveFloatingPosition(ClientSettings& settings, const ClientPaths& paths, int32_t left,
                          int32_t top);
void SaveFloatingPosition(int32_t left, int32_t top);

// Stores a chosen background image path in BackGround and in "Config.cfg".
void SaveBackGround(ClientSettings& settings, const ClientPaths& paths,
                    const std::wstring& imagePath);
void SaveBackGround(const std::wstring& imagePath);

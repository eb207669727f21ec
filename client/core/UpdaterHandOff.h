#pragma once

#include <string>

// The hand-off to the updater: write the running client's identity and location to
// the shared settings file, then start the updater from the client's folder unless
// the start-up switches forbid it.

// The updater's file name beside the client.
inline constexpr const char* kUpdaterFileName = "morvane";

// For the client at `executablePath` with the settings file `configFile`: when
// "morvane" exists in the client's folder, writes "Local" "WindowText", "ClassText",
// "AppPath" (the folder, without a trailing "/") and "AppFullName" in that order,
// then, unless `suppressed`, starts the updater detached, with no arguments.
// Without the updater nothing is written and nothing started. Returns true.
bool StartUpdater(const std::string& executablePath, const std::string& configFile,
                  bool suppressed);

// The same for the running client: its paths (ProcessClientPaths) and the start-up
// flag set by "/noupdate" or "/runassvr". Runs at every start (right after the
// settings are loaded) and for the menu item "Menu_CheckUpdate". Returns true.
bool StartUpdater();

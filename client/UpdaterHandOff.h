#pragma once

// The hand-off to the updater: write the running client's identity and location to
// the shared settings file, then start the updater from the client's folder unless
// the start-up switches forbid it.
//
// Not built yet: StartUpdater writes nothing and starts nothing; each call is recorded
// (client/mainwnd/PendingCalls.h).

// Runs at every start (right after the settings are loaded) and for the menu item
// "Menu_CheckUpdate". Returns true.
bool StartUpdater();

#pragma once

// The client's command-line switches and the process-wide flags they set.

#include <string>
#include <vector>

struct StartupFlags {
    bool startHidden = false;  // "/runashide": create the main window but do not show it
    bool noUpdater = false;    // "/noupdate" or "/runassvr": never start the updater
};

// Compares every argument, the program path included, with the switches as a whole
// and without regard to ASCII letter case; an argument that merely contains a switch
// counts for nothing.
StartupFlags ParseStartupSwitches(const std::vector<std::string>& args);

// The running client's flags, set once by the start-up before the main window exists.
StartupFlags& ProcessStartupFlags();

#pragma once

#include <string>

namespace platform {

// The login autostart entry "Trovik": an XDG autostart file
// $XDG_CONFIG_HOME/autostart/trovik.desktop (else ~/.config/autostart) whose Exec
// line holds `executablePath`. Turning it on twice leaves one entry.
bool SetAutoStart(bool on, const std::string& executablePath);
bool IsAutoStartOn();
// The executable the entry starts, or "" without an entry.
std::string AutoStartCommand();

}  // namespace platform

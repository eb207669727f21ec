#pragma once

#include <chrono>
#include <string>

struct UpdaterConfig;

// Hands a complete download over to the install step: ends the running client (found
// through the window registry by its class and title), then
// - when the user can write the installation folder: copies this updater to
//   $XDG_DATA_HOME/Trovik/morvane and starts that copy with "copyfile";
// - otherwise: runs the installation's own updater (<AppPath>/morvane, which the
//   user cannot change) with "copyfile" through pkexec, never the user-writable copy,
//   and waits for it; afterwards it clears, as the user, what was installed. Declined
//   or failed, the client is started again with "/noupdate" and the staged files stay
//   for the next start.
void StartInstall(const UpdaterConfig& config);

// Ends the process whose registered window has these class and title (not this
// process). True when one was ended. The client starts its updater while it creates
// its window, before the window is registered, so an update that is ready at once (a
// staged one, a fast server) may come first: a window not yet registered is looked for
// again until `wait` has passed.
bool EndClient(const std::wstring& className, const std::wstring& windowText,
               std::chrono::milliseconds wait = std::chrono::milliseconds(0));

// Copies the running updater to `path` in one step (temporary file and rename), mode
// 0755. False on any failure.
bool CopyRunningProgram(const std::string& path);

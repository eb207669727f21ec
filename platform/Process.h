#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace platform {

// Starts `program` with `args` (no shell), detached: the child is not waited for,
// does not become a zombie of the caller and runs in a session of its own, so it
// outlives the caller and its terminal. A `program` without "/" is looked up in
// PATH. False when it could not be started (e.g. the file is missing or not
// executable).
//
// When this process runs as root because pkexec started it (PKEXEC_UID is set), the
// program runs as the user who authenticated instead (through setpriv): the
// elevated install step restarts the client, which must not run as root.
bool StartDetached(const std::string& program, const std::vector<std::string>& args);

// How an elevated start ended.
enum class ElevatedStart {
    kStarted,      // running (directly, or after a granted authentication)
    kDeclined,     // the authentication was dismissed or refused
    kFileMissing,  // the program does not exist
    kFailed,       // any other failure
};

// Starts `program` with the rights needed to write into `targetFolder`: directly
// (detached, returning at once) when CanWriteFolder(targetFolder), otherwise through
// StartThroughElevation.
ElevatedStart StartElevated(const std::string& program, const std::vector<std::string>& args,
                            const std::string& targetFolder);

// Runs `program` as the super user through the elevation command: pkexec, or the
// command named by TROVIK_ELEVATE_COMMAND (tests use a script). It waits until the
// elevation command ends, because only its exit status tells whether the
// authentication was granted: pkexec's 126 (dialog dismissed) and 127 (not
// authorised) give kDeclined, any other exit kStarted. The wait lasts as long as the
// program runs (pkexec waits for it); the elevated program in use is the updater's
// short install step, which starts the client detached and ends.
//
// pkexec clears the environment, so the user's folders and display are passed on
// explicitly (HOME, the XDG folders, TMPDIR, DISPLAY, WAYLAND_DISPLAY, XAUTHORITY,
// DBUS_SESSION_BUS_ADDRESS, LANG, TROVIK_DEBUG, TROVIK_OPEN_URL_LOG): the
// elevated program finds the same data folder as the user's own processes.
ElevatedStart StartThroughElevation(const std::string& program,
                                    const std::vector<std::string>& args);

// True when this user may create files in `folder`, or, when it does not exist yet,
// in the nearest folder above it that does.
bool CanWriteFolder(const std::string& folder);

// The full path `program` would be started from: itself when it holds a "/", else
// the first executable of that name in PATH; "" when there is none.
std::string FindProgram(const std::string& program);

// Ends a process: SIGTERM, then SIGKILL when it still runs after `grace`.
// True when the process is gone afterwards (or never existed); false for a pid
// below 1 or a process this user may not signal.
bool TerminateProcessById(pid_t pid,
                          std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

}  // namespace platform

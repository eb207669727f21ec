#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace platform {

// Starts `program` with `args` (no shell), detached: the child is not waited for
// and does not become a zombie of the caller. False when it could not be started
// (e.g. the file is missing or not executable).
bool StartDetached(const std::string& program, const std::vector<std::string>& args);

// How an elevated start ended.
enum class ElevatedStart {
    kStarted,      // running (directly, or after a granted authentication)
    kDeclined,     // the authentication was dismissed or refused
    kFileMissing,  // the program does not exist
    kFailed,       // any other failure
};

// Starts `program` with the rights needed to write into `targetFolder`: directly
// when the user can write there, otherwise through pkexec.
ElevatedStart StartElevated(const std::string& program, const std::vector<std::string>& args,
                            const std::string& targetFolder);

// Ends a process: SIGTERM, then SIGKILL when it still runs after `grace`.
// True when the process is gone afterwards (or never existed).
bool TerminateProcessById(pid_t pid,
                          std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

}  // namespace platform

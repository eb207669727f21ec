#pragma once

#include <string>
#include <vector>

#include "platform/Process.h"

struct UpdaterConfig;

// Starting programs from the updater.

// Starts `file` with `parameters`, detached, without elevation. False for an empty
// name or a program that cannot be started.
bool RunProgram(const std::string& file, const std::vector<std::string>& parameters);

// Starts `file` as the super user through pkexec (TROVIK_ELEVATE_COMMAND in tests)
// and waits until it has ended. kDeclined when the authentication was dismissed or
// refused, kFileMissing when there is no such program.
platform::ElevatedStart RunAsAdmin(const std::string& file,
                                   const std::vector<std::string>& parameters);

// Starts the client again from "AppFullName"; with `complete` false it gets
// "/noupdate", so its own updater does not start and end it again at once.
void RestartClient(const UpdaterConfig& config, bool complete);

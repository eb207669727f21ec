#pragma once

// Test helpers that run the project's programs as child processes: a program run
// to its end with its output captured, and a devserver kept running for a test.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace testsupport {

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not end in time or was killed by a signal
    std::string out;
    std::string err;
    long peakMemoryKb = 0;  // the program's largest resident set, once it has ended
};

// Runs `program` with `args` (extra environment entries "NAME=value" added) and
// waits at most `deadline` for it to end; a program still running then is killed.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv = {},
                         std::chrono::milliseconds deadline = std::chrono::seconds(60));

// A devserver child process on a free loopback port, stopped on destruction.
class DevServerProcess {
public:
    // Starts build/bin/devserver with `args` plus "--port 0" and waits (with a
    // deadline) for its "port N" line. Throws when it does not come up.
    explicit DevServerProcess(const std::vector<std::string>& args = {});
    ~DevServerProcess();
    DevServerProcess(const DevServerProcess&) = delete;
    DevServerProcess& operator=(const DevServerProcess&) = delete;

    int port() const { return port_; }
    std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

// The path of a program in the build's bin folder.
std::string BinPath(const std::string& name);

}  // namespace testsupport

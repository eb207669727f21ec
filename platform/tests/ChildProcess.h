#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platformtest {

// The helper program built with the tests (platform_test_helper).
std::string HelperPath();

// A process started for one test, its stdin and stdout connected to pipes. A child
// still running at destruction is killed and reaped.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // One line of the child's output (without the line end); nothing on end of
    // output or when no line arrives before the deadline.
    std::optional<std::string> ReadLine(
        std::chrono::milliseconds deadline = std::chrono::seconds(20));

    // Ends the child's input: helpers that wait for it then exit.
    void CloseInput();
    void Kill(int signal);

    // The wait status once the child has ended; nothing when it still runs at the
    // deadline.
    std::optional<int> Wait(std::chrono::milliseconds deadline = std::chrono::seconds(20));

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffered_;
    bool reaped_ = false;
};

// Runs `check` in a child process as the unprivileged user "nobody" when the tests
// run as root, else directly; returns its result (0 to 255).
int RunWithoutPrivileges(const std::function<int()>& check);

}  // namespace platformtest

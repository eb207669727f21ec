#include "tools/testsupport/ChildPrograms.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

// A pipe whose ends close with the object.
struct Pipe {
    int fd[2] = {-1, -1};
    Pipe() {
        if (pipe2(fd, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    void CloseRead() {
        if (fd[0] >= 0) close(fd[0]);
        fd[0] = -1;
    }
    void CloseWrite() {
        if (fd[1] >= 0) close(fd[1]);
        fd[1] = -1;
    }
};

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
    for (const std::string& add : extra) {
        const std::string name = add.substr(0, add.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
        env.push_back(add);
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& extraEnv, int outFd, int errFd) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = Environment(extraEnv);
    auto argvPointers = Pointers(argv);
    auto envPointers = Pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    if (errFd >= 0) posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argvPointers.data(),
                               envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + program + ": " + strerror(rc));
    return pid;
}

// `peakKb`, when given, receives the ended child's largest resident set.
int WaitExit(pid_t pid, int options, long* peakKb = nullptr) {
    int status = 0;
    struct rusage usage {};
    const pid_t done = wait4(pid, &status, options, &usage);
    if (done != pid) return -2;  // still running
    if (peakKb) *peakKb = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string BinPath(const std::string& name) {
    return std::string(TROVIK_BIN_DIR) + "/" + name;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv,
                         std::chrono::milliseconds deadline) {
    Pipe out, err;
    const pid_t pid = Spawn(program, args, extraEnv, out.fd[1], err.fd[1]);
    out.CloseWrite();
    err.CloseWrite();

    ProgramResult result;
    const auto end = Clock::now() + deadline;
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) break;
        pollfd fds[2] = {{outOpen ? out.fd[0] : -1, POLLIN, 0},
                         {errOpen ? err.fd[0] : -1, POLLIN, 0}};
        if (poll(fds, 2, static_cast<int>(left.count())) <= 0) continue;
        char buffer[65536];
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
            else
                (i == 0 ? outOpen : errOpen) = false;
        }
    }
    if (outOpen || errOpen) {
        kill(pid, SIGKILL);
        WaitExit(pid, 0);
        result.exitCode = -1;
        return result;
    }
    result.exitCode = WaitExit(pid, 0, &result.peakMemoryKb);
    return result;
}

DevServerProcess::DevServerProcess(const std::vector<std::string>& args) {
    Pipe out;
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--port", "0"});
    pid_ = Spawn(BinPath("devserver"), all, {}, out.fd[1], -1);
    out.CloseWrite();

    std::string line;
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        pollfd fd{out.fd[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[256];
        const ssize_t n = read(out.fd[0], buffer, sizeof buffer);
        if (n <= 0) break;
        line.append(buffer, static_cast<size_t>(n));
    }
    if (line.rfind("port ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
    if (port_ <= 0) {
        kill(pid_, SIGKILL);
        WaitExit(pid_, 0);
        throw std::runtime_error("devserver did not report its port: " + line);
    }
}

DevServerProcess::~DevServerProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    WaitExit(pid_, 0);
}

}  // namespace testsupport

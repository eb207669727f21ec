#pragma once

#include <httplib.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// An in-process HTTP server on 127.0.0.1 and a free port, for loopback tests.
// Register handlers on server() before calling Start(). Every request line
// ("METHOD target") is recorded, in arrival order.
class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& server() { return server_; }
    // Binds and starts serving on a background thread; returns once it accepts.
    void Start();
    void Stop();

    int port() const { return port_; }
    std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string url(const std::string& path) const { return "http://" + hostPort() + path; }

    std::vector<std::string> requests() const;
    size_t requestCount() const;

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
};

}  // namespace testsupport

#include "tools/testsupport/LoopbackServer.h"

#include <stdexcept>

#include "tools/testsupport/WaitFor.h"

namespace testsupport {

LoopbackServer::LoopbackServer() {
    // Recorded before routing, so a client that got its answer finds its request listed.
    server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(req.method + " " + req.target);
        return httplib::Server::HandlerResponse::Unhandled;
    });
}

LoopbackServer::~LoopbackServer() {
    Stop();
}

void LoopbackServer::Start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    if (!WaitFor([this] { return server_.is_running(); }))
        throw std::runtime_error("loopback server did not start");
}

void LoopbackServer::Stop() {
    if (thread_.joinable()) {
        server_.stop();
        thread_.join();
    }
}

std::vector<std::string> LoopbackServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

size_t LoopbackServer::requestCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.size();
}

}  // namespace testsupport

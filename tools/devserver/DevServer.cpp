// devserver: a loopback HTTP server for the sample portal, the update server and
// the statistics server. See docs/ENGINE.md.
//
//   devserver [--port N] [--root DIR]... [--log FILE] [--latency-ms N]

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/devserver/SiteFiles.h"

namespace {

struct Options {
    int port = devserver::kDefaultPort;
    // Searched in order. By default the update channels signed at build time with the
    // build's sample key come first, then the bundled sample sites.
    std::vector<std::string> roots = {TROVIK_DEVSERVER_SIGNED_SITE, TROVIK_DEVSERVER_SITE};
    bool rootGiven = false;
    std::string logPath;
    int latencyMs = 0;
};

const char* kUsage =
    "usage: devserver [--port N] [--root DIR]... [--log FILE] [--latency-ms N]\n"
    "  --port N        port on 127.0.0.1 (default 18632; 0 takes a free one)\n"
    "  --root DIR      document root; several are searched in the order given (default:\n"
    "                  the build's signed update channels, then the bundled sample sites)\n"
    "  --log FILE      append every request line (\"GET /path?query\") to FILE\n"
    "  --latency-ms N  wait N milliseconds before answering each request\n"
    "Prints \"port N\" once listening.\n";

bool ParseNumber(const std::string& text, int max, int* value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::stoi(text);
    return *value <= max;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        if (arg == "--port") {
            if (!ParseNumber(value, 65535, &options->port)) return false;
        } else if (arg == "--root") {
            if (!options->rootGiven) options->roots.clear();
            options->rootGiven = true;
            options->roots.push_back(value);
        } else if (arg == "--log") {
            options->logPath = value;
        } else if (arg == "--latency-ms") {
            if (!ParseNumber(value, 600000, &options->latencyMs)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// Appends request lines to the log file, one line per request, flushed at once.
class RequestLog {
public:
    explicit RequestLog(const std::string& path) {
        if (!path.empty()) out_.open(path, std::ios::app | std::ios::binary);
    }
    // False when a log file was asked for but cannot be written.
    bool usable(const std::string& path) const { return path.empty() || out_.is_open(); }
    void Write(const std::string& line) {
        if (!out_.is_open()) return;
        std::lock_guard<std::mutex> lock(mutex_);
        out_ << line << '\n';
        out_.flush();
    }

private:
    std::mutex mutex_;
    std::ofstream out_;
};

std::string ReadWholeFile(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    *ok = static_cast<bool>(in);
    return bytes.str();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    RequestLog log(options.logPath);
    if (!log.usable(options.logPath)) {
        std::fprintf(stderr, "devserver: cannot open log file %s\n", options.logPath.c_str());
        return 1;
    }

    httplib::Server server;
    // Address reuse only: httplib's default also shares the port (SO_REUSEPORT),
    // which would let a second devserver start on a port that is taken.
    server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Headers and body go out at once, as from a production server: with Nagle's
    // algorithm the body of a second answer on a kept-alive connection would wait for
    // the client's delayed acknowledgement (40 ms) and distort the latency benchmarks.
    server.set_tcp_nodelay(true);
    int port = 0;
    server.set_pre_routing_handler([&](const httplib::Request& req, httplib::Response& res) {
        log.Write(req.method + " " + req.target);
        if (options.latencyMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(options.latencyMs));
        if (req.method != "GET" && req.method != "HEAD") {
            res.status = 405;
            return httplib::Server::HandlerResponse::Handled;
        }
        const std::string path = devserver::TargetPath(req.target);
        if (path == "/liveness.php") {  // the statistics server
            res.set_content("ok", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        }
        std::optional<std::string> file;
        for (const std::string& root : options.roots)
            if (!file) file = devserver::ResolveFile(root, req.target);
        bool ok = false;
        std::string body = file ? ReadWholeFile(*file, &ok) : std::string();
        if (!ok) {
            res.status = 404;
            res.set_content("not found\n", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        }
        const std::string type = devserver::ContentTypeFor(*file);
        if (type.rfind("text/html", 0) == 0)
            body = devserver::RewriteHost(std::move(body), "127.0.0.1:" + std::to_string(port));
        res.set_content(std::move(body), type.c_str());
        return httplib::Server::HandlerResponse::Handled;
    });

    if (options.port == 0) {
        port = server.bind_to_any_port("127.0.0.1");
    } else if (server.bind_to_port("127.0.0.1", options.port)) {
        port = options.port;
    }
    if (port <= 0) {
        std::fprintf(stderr, "devserver: cannot listen on 127.0.0.1:%d (port in use?)\n",
                     options.port);
        return 1;
    }
    std::printf("port %d\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}

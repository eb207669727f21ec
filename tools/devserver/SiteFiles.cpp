#include "tools/devserver/SiteFiles.h"

#include <filesystem>

namespace devserver {
namespace fs = std::filesystem;

std::string TargetPath(const std::string& target) {
    return target.substr(0, target.find('?'));
}

std::optional<std::string> ResolveFile(const std::string& root, const std::string& target) {
    std::string path = TargetPath(target);
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) return std::nullopt;
    size_t start = 1;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        const std::string segment = path.substr(start, slash - start);
        if (segment == "." || segment == "..") return std::nullopt;
        start = slash + 1;
    }
    if (path.back() == '/') path += "index.html";

    std::error_code error;
    const fs::path realRoot = fs::canonical(root, error);
    if (error) return std::nullopt;
    const fs::path realFile = fs::canonical(realRoot.string() + path, error);
    if (error || !fs::is_regular_file(realFile, error)) return std::nullopt;
    const std::string prefix = realRoot.string() + "/";
    if (realFile.string().compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    return realFile.string();
}

std::string ContentTypeFor(const std::string& path) {
    const std::string ext = fs::path(path).extension().string();
    if (ext == ".html" || ext == ".htm") return "text/html; charset=gbk";
    if (ext == ".png") return "image/png";
    if (ext == ".jpg" || ext == ".jpeg") return "image/jpeg";
    if (ext == ".json") return "application/json";
    if (ext == ".txt" || ext == ".cfg" || ext == ".ini") return "text/plain";
    return "application/octet-stream";
}

std::string RewriteHost(std::string body, const std::string& hostPort) {
    const std::string from = kDefaultHostPort;
    if (hostPort == from) return body;
    for (size_t at = body.find(from); at != std::string::npos;
         at = body.find(from, at + hostPort.size()))
        body.replace(at, from.size(), hostPort);
    return body;
}

}  // namespace devserver

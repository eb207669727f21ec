#pragma once

// How devserver maps a request path onto its document root.

#include <optional>
#include <string>

namespace devserver {

// The default address that the sample sites' pages mention in their links.
inline constexpr int kDefaultPort = 18632;
inline constexpr const char* kDefaultHostPort = "127.0.0.1:18632";

// The file for a raw request target (percent-encoding left as it is, so that a
// GBK keyword names its folder byte for byte): the path before any "?" below
// `root`, with "index.html" added to a path ending in "/". Nothing for a target
// that does not start with "/", has a "." or ".." segment or a NUL byte, names no
// regular file, or whose file lies outside the root once symbolic links are resolved.
std::optional<std::string> ResolveFile(const std::string& root, const std::string& target);

// The path part of a raw request target (everything before the first "?").
std::string TargetPath(const std::string& target);

// A Content-Type for a file name.
std::string ContentTypeFor(const std::string& path);

// `body` with every occurrence of the default address replaced by `hostPort`.
std::string RewriteHost(std::string body, const std::string& hostPort);

}  // namespace devserver

#pragma once

#include <cstddef>
#include <string>

// One GET of "http://" + host + "/" + objectName with the User-Agent "User-Agent",
// returning the body of a 200 answer ("" on any failure). `host` may carry ":port"
// (default 80). The object name is sent byte for byte, except that the bytes a
// request line cannot carry (controls, space, "#") travel percent-encoded. A body
// above kHttpGetTextLimit bytes counts as a failure. The connection must be made
// within 5 s and the whole exchange within 15 s.
inline constexpr std::size_t kHttpGetTextLimit = 64 * 1024;

std::string HttpGetText(const std::string& host, const std::string& objectName);

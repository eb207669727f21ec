#include "common/HttpGetText.h"

#include <cstdio>

#include "common/HttpRequest.h"

namespace {

// Percent-encodes the bytes that cannot stand in a request target as they are: the
// controls (also CR and LF, which would end the request line), space, DEL, and "#",
// which would cut the rest off as a fragment. Everything else is kept, also "%" and
// bytes of 0x80 and above (the code page's text goes out as it is).
std::string EscapeForRequestLine(const std::string& objectName) {
    std::string out;
    out.reserve(objectName.size());
    for (const unsigned char c : objectName) {
        if (c <= 0x20 || c == 0x7F || c == '#') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

std::string HttpGetText(const std::string& host, const std::string& objectName) {
    if (host.empty()) return {};
    HttpRequest request(HttpMethod::Get, "http://" + host + "/" + EscapeForRequestLine(objectName),
                        "User-Agent");
    request.SetTimeouts(5, 0, 15);
    std::string body;
    request.SetBodySink([&](std::string_view piece) {
        if (body.size() + piece.size() > kHttpGetTextLimit) return false;
        body.append(piece);
        return true;
    });
    if (request.Perform() != HttpOutcome::Complete || request.status() != 200) return {};
    return body;
}

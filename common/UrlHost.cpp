#include "common/UrlHost.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsScheme(const std::string& scheme) {
    if (scheme.empty() || !std::isalpha(static_cast<unsigned char>(scheme[0]))) return false;
    return std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
    });
}

}  // namespace

std::string UrlHostKey(const std::string& url) {
    const size_t separator = url.find("://");
    if (separator == std::string::npos) return {};
    const std::string scheme = Lower(url.substr(0, separator));
    if (!IsScheme(scheme)) return {};
    const size_t start = separator + 3;
    const size_t end = std::min(url.find_first_of("/?#", start), url.size());
    std::string authority = url.substr(start, end - start);
    if (const size_t at = authority.rfind('@'); at != std::string::npos)
        authority.erase(0, at + 1);  // user and password

    std::string host = authority;
    std::string port;
    // An IPv6 address stands in brackets and holds colons of its own.
    const size_t hostEnd = authority.starts_with("[") ? authority.find(']') : 0;
    if (hostEnd == std::string::npos) return {};
    if (const size_t colon = authority.find(':', hostEnd); colon != std::string::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty()) return {};
    if (port.empty()) port = scheme == "https" ? "443" : scheme == "http" ? "80" : "";
    port.erase(0, std::min(port.find_first_not_of('0'), port.size() - 1));  // "080" is 80
    return scheme + "://" + Lower(host) + ":" + port;
}

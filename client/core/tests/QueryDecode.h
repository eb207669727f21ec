#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Splits an object name "path?name=value&..." into its parameters, decoding "%XX"
// the way a server does. A malformed percent group is kept as "<bad>" so that a test
// comparing values notices it.
inline std::vector<std::pair<std::string, std::string>> DecodeQuery(std::string_view objectName) {
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    const auto decode = [&](std::string_view text) {
        std::string out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '%') {
                out += text[i];
            } else if (i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
                out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
                i += 2;
            } else {
                out += "<bad>";
            }
        }
        return out;
    };
    std::vector<std::pair<std::string, std::string>> params;
    const size_t question = objectName.find('?');
    if (question == std::string_view::npos) return params;
    std::string_view rest = objectName.substr(question + 1);
    while (!rest.empty()) {
        const size_t amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        const size_t eq = pair.find('=');
        params.emplace_back(decode(pair.substr(0, eq)),
                            eq == std::string_view::npos ? "" : decode(pair.substr(eq + 1)));
        if (amp == std::string_view::npos) break;
        rest.remove_prefix(amp + 1);
    }
    return params;
}

#include "Identity.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "WholeFile.h"

namespace platform {

std::optional<Guid> NewGuid() {
    uint8_t bytes[16];
    size_t filled = 0;
    while (filled < sizeof bytes) {
        ssize_t got = getrandom(bytes + filled, sizeof bytes - filled, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        filled += static_cast<size_t>(got);
    }
    Guid guid;
    guid.data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                 static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
    guid.data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    // Version 4 (random) in the top four bits of the third group.
    guid.data3 = static_cast<uint16_t>(((bytes[6] & 0x0F) | 0x40) << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i) guid.data4[i] = bytes[8 + i];
    guid.data4[0] = static_cast<uint8_t>((guid.data4[0] & 0x3F) | 0x80);  // RFC 4122 variant
    return guid;
}

std::string FormatGuid(const Guid& guid) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  guid.data1, guid.data2, guid.data3, guid.data4[0], guid.data4[1], guid.data4[2],
                  guid.data4[3], guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
    return text;
}

std::string FormatAdapterAddresses(const std::vector<std::vector<uint8_t>>& addresses,
                                   size_t maxBytes) {
    std::string text;
    for (const std::vector<uint8_t>& address : addresses) {
        if (address.empty()) continue;
        std::string adapter;
        for (uint8_t byte : address) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", byte);
            if (!adapter.empty()) adapter += ':';
            adapter += hex;
        }
        const size_t separator = text.empty() ? 0 : 1;
        if (text.size() + separator + adapter.size() > maxBytes) continue;
        if (separator) text += '|';
        text += adapter;
    }
    return text;
}

std::string AdapterAddressesText(size_t maxBytes) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    std::vector<std::vector<uint8_t>> addresses;
    // Link-layer entries come once per interface, in interface-index order.
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET) continue;
        if (entry->ifa_flags & IFF_LOOPBACK) continue;
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        const size_t length = std::min<size_t>(link->sll_halen, sizeof link->sll_addr);
        addresses.emplace_back(link->sll_addr, link->sll_addr + length);
    }
    freeifaddrs(list);
    return FormatAdapterAddresses(addresses, maxBytes);
}

std::string OsReleasePrettyName(std::string_view osRelease) {
    constexpr std::string_view kKey = "PRETTY_NAME=";
    size_t begin = 0;
    while (begin < osRelease.size()) {
        size_t end = osRelease.find('\n', begin);
        if (end == std::string_view::npos) end = osRelease.size();
        std::string_view line = osRelease.substr(begin, end - begin);
        begin = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.substr(0, kKey.size()) != kKey) continue;
        line.remove_prefix(kKey.size());
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.remove_suffix(1);
        std::string value;
        if (!line.empty() && line.front() == '\'') {
            const size_t close = line.find('\'', 1);
            return std::string(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        }
        if (!line.empty() && line.front() == '"') {
            for (size_t i = 1; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
                value += line[i];
            }
            return value;
        }
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) ++i;
            value += line[i];
        }
        return value;
    }
    return {};
}

std::string SystemName() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::string bytes;
        if (ReadWholeFile(path, bytes) != ReadStatus::kRead) continue;
        std::string name = OsReleasePrettyName(bytes);
        if (!name.empty()) return name;
    }
    return "unknown OperatingSystem.";
}

std::string WindowsSystemName(const WindowsVersionInfo& info) {
    const bool workstation = info.productType == 1;
    switch (info.major) {
        case 4:
            if (info.minor == 0 && info.platformId == 2) return "Microsoft Windows NT 4.0";
            if (info.minor == 0 && info.platformId == 1) return "Microsoft Windows 95";
            if (info.minor == 10) return "Microsoft Windows 98";
            if (info.minor == 90) return "Microsoft Windows Me";
            break;
        case 5:
            if (info.minor == 0) return "Microsoft Windows 2000";
            if (info.minor == 1) return "Microsoft Windows XP";
            if (info.minor == 2) {
                if (workstation && info.processorArchitecture == 9)
                    return "Microsoft Windows XP Professional x64 Edition";
                return info.serverR2 ? "Microsoft Windows Server 2003 R2"
                                     : "Microsoft Windows Server 2003";
            }
            break;
        case 6:
            if (info.minor == 0)
                return workstation ? "Microsoft Windows Vista" : "Microsoft Windows Server 2008";
            if (info.minor == 1)
                return workstation ? "Microsoft Windows 7" : "Microsoft Windows Server 2008 R2";
            if (info.minor == 2 && workstation) return "Microsoft Windows 8";
            break;
        default:
            return "Other";
    }
    return "unknown OperatingSystem.";
}

}  // namespace platform

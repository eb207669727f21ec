#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
};

// 16 random bytes (getrandom) with the version-4 and variant bits set.
std::optional<Guid> NewGuid();

// "{XXXXXXXX-XXXX-xxxx-XXXX-XXXXXXXXXXXX}": 38 characters, the third group in lower
// case and every other in upper case.
std::string FormatGuid(const Guid& guid);

// The link-layer addresses of the network adapters (loopback excluded), in the
// kernel's order: each byte as two upper-case hex digits, bytes joined by ":",
// adapters by "|". Whole adapters that would take the text past `maxBytes` are left
// out. Empty when there is none.
std::string AdapterAddressesText(size_t maxBytes = 1023);

// The text form of AdapterAddressesText for given addresses; an adapter without an
// address adds nothing.
std::string FormatAdapterAddresses(const std::vector<std::vector<uint8_t>>& addresses,
                                   size_t maxBytes = 1023);

// The operating system's name: PRETTY_NAME of /etc/os-release, else
// "unknown OperatingSystem.".
std::string SystemName();

// The PRETTY_NAME value of an os-release text (quotes and escapes removed), or "".
std::string OsReleasePrettyName(std::string_view osRelease);

// The Windows name table for a given version record (pure, kept for the report
// format): e.g. (6, 1, 2, 1, 0, false) -> "Microsoft Windows 7".
struct WindowsVersionInfo {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned platformId = 0;
    unsigned productType = 0;            // 1 = workstation
    unsigned processorArchitecture = 0;  // 9 = AMD64
    bool serverR2 = false;               // GetSystemMetrics(SM_SERVERR2) != 0
};
std::string WindowsSystemName(const WindowsVersionInfo& info);

}  // namespace platform

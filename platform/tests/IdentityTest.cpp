#include "platform/Identity.h"

#include <dirent.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "tools/testsupport/IsolatedEnv.h"

namespace platform {
namespace {

TEST(Guid, FormatHasALowerCaseThirdGroup) {
    Guid guid;
    guid.data1 = 0x0012ABCD;
    guid.data2 = 0xABCD;
    guid.data3 = 0x4BCD;
    const uint8_t tail[8] = {0xAB, 0x0C, 0xDE, 0xF0, 0x01, 0x23, 0x45, 0x6F};
    std::copy(std::begin(tail), std::end(tail), guid.data4);
    EXPECT_EQ(FormatGuid(guid), "{0012ABCD-ABCD-4bcd-AB0C-DEF00123456F}");
    EXPECT_EQ(FormatGuid(Guid{}), "{00000000-0000-0000-0000-000000000000}");
}

TEST(Guid, NewGuidsAreRandomVersionFour) {
    const std::regex form(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9a-f]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        auto guid = NewGuid();
        ASSERT_TRUE(guid.has_value());
        const std::string text = FormatGuid(*guid);
        EXPECT_EQ(text.size(), 38u);
        EXPECT_TRUE(std::regex_match(text, form)) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST(AdapterAddresses, FormatJoinsBytesAndAdapters) {
    const std::vector<uint8_t> a = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xEF};
    const std::vector<uint8_t> b = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x05};
    EXPECT_EQ(FormatAdapterAddresses({}), "");
    EXPECT_EQ(FormatAdapterAddresses({a}), "00:1A:2B:3C:4D:EF");
    const std::string two = FormatAdapterAddresses({a, {}, b});
    EXPECT_EQ(two, "00:1A:2B:3C:4D:EF|FE:DC:BA:98:76:05");
    EXPECT_EQ(two.size(), 35u);
    // Whole adapters that do not fit are left out, never cut.
    EXPECT_EQ(FormatAdapterAddresses({a, b}, 34), "00:1A:2B:3C:4D:EF");
    EXPECT_EQ(FormatAdapterAddresses({a, b}, 35), two);
    EXPECT_EQ(FormatAdapterAddresses({a, {0x01}}, 20), "00:1A:2B:3C:4D:EF|01");
    EXPECT_EQ(FormatAdapterAddresses({a}, 16), "");
}

std::string ReadTrimmed(const std::string& path) {
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    return text;
}

TEST(AdapterAddresses, MatchTheKernelsInterfaceList) {
    // The same list read from /sys: non-loopback interfaces with an address, in
    // interface-index order.
    std::map<int, std::string> expected;
    if (DIR* dir = opendir("/sys/class/net")) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name[0] == '.') continue;
            const std::string base = "/sys/class/net/" + name + "/";
            const unsigned long flags = std::stoul(ReadTrimmed(base + "flags"), nullptr, 16);
            std::string address = ReadTrimmed(base + "address");
            if ((flags & 0x8) || address.empty()) continue;  // IFF_LOOPBACK
            std::transform(address.begin(), address.end(), address.begin(), ::toupper);
            expected[std::stoi(ReadTrimmed(base + "ifindex"))] = address;
        }
        closedir(dir);
    }
    std::string text;
    for (const auto& [index, address] : expected) text += (text.empty() ? "" : "|") + address;
    EXPECT_EQ(AdapterAddressesText(), text);
    if (!expected.empty()) {
        EXPECT_EQ(AdapterAddressesText(expected.begin()->second.size()), expected.begin()->second);
    }
}

TEST(SystemName, PrettyNameOfOsRelease) {
    EXPECT_EQ(OsReleasePrettyName("NAME=x\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME='Single quoted'"), "Single quoted");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=Plain\r\n"), "Plain");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=\"Say \\\"hi\\\" \\$x\""), "Say \"hi\" $x");
    EXPECT_EQ(OsReleasePrettyName("NOT_PRETTY_NAME=\"x\"\nNAME=y"), "");
    EXPECT_EQ(OsReleasePrettyName(""), "");
}

TEST(SystemName, AgreesWithTheShellsReadingOfOsRelease) {
    std::string expected;
    if (FILE* shell = popen("sh -c '. /etc/os-release 2>/dev/null || . /usr/lib/os-release; printf "
                            "%s \"$PRETTY_NAME\"'",
                            "r")) {
        char buffer[512];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, shell)) > 0) expected.append(buffer, got);
        pclose(shell);
    }
    EXPECT_EQ(SystemName(), expected.empty() ? "unknown OperatingSystem." : expected);
}

TEST(SystemName, WindowsNameTable) {
    struct Row {
        WindowsVersionInfo info;
        const char* name;
    };
    const Row rows[] = {
        {{4, 0, 2, 1, 0, false}, "Microsoft Windows NT 4.0"},
        {{4, 0, 1, 1, 0, false}, "Microsoft Windows 95"},
        {{4, 0, 3, 1, 0, false}, "unknown OperatingSystem."},
        {{4, 10, 1, 1, 0, false}, "Microsoft Windows 98"},
        {{4, 90, 1, 1, 0, false}, "Microsoft Windows Me"},
        {{4, 3, 1, 1, 0, false}, "unknown OperatingSystem."},
        {{5, 0, 2, 1, 0, false}, "Microsoft Windows 2000"},
        {{5, 1, 2, 1, 0, false}, "Microsoft Windows XP"},
        {{5, 2, 2, 1, 9, false}, "Microsoft Windows XP Professional x64 Edition"},
        {{5, 2, 2, 1, 0, false}, "Microsoft Windows Server 2003"},
        {{5, 2, 2, 3, 9, false}, "Microsoft Windows Server 2003"},
        {{5, 2, 2, 3, 0, true}, "Microsoft Windows Server 2003 R2"},
        {{5, 3, 2, 1, 0, false}, "unknown OperatingSystem."},
        {{6, 0, 2, 1, 0, false}, "Microsoft Windows Vista"},
        {{6, 0, 2, 3, 0, false}, "Microsoft Windows Server 2008"},
        {{6, 1, 2, 1, 0, false}, "Microsoft Windows 7"},
        {{6, 1, 2, 3, 0, false}, "Microsoft Windows Server 2008 R2"},
        {{6, 2, 2, 1, 0, false}, "Microsoft Windows 8"},
        {{6, 2, 2, 3, 0, false}, "unknown OperatingSystem."},
        {{6, 3, 2, 1, 0, false}, "unknown OperatingSystem."},
        {{10, 0, 2, 1, 9, false}, "Other"},
        {{3, 51, 2, 1, 0, false}, "Other"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WindowsSystemName(row.info), row.name)
            << row.info.major << "." << row.info.minor << " type " << row.info.productType;
}

}  // namespace
}  // namespace platform

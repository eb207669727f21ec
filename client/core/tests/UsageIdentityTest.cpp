#include <gtest/gtest.h>

#include <regex>

#include "client/core/UsageIdentity.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/TempDir.h"

namespace {

TEST(UsageIdentityTest, FileVersionOfTheRunningExecutableAndOfOtherFiles) {
    EXPECT_EQ(GetFileVersionText(""), TROVIK_TEST_FILE_VERSION);
    EXPECT_EQ(GetFileVersionText("/proc/self/exe"), TROVIK_TEST_FILE_VERSION);

    testsupport::TempDir dir;
    testsupport::WriteFile(dir / "notes.txt", "no version here\n");
    EXPECT_EQ(GetFileVersionText(dir / "notes.txt"), "");
    EXPECT_EQ(GetFileVersionText(dir / "missing"), "");
}

TEST(UsageIdentityTest, AdapterAddressesAreUpperCaseHexGroups) {
    const std::string text = CollectAdapterAddresses();
    EXPECT_LE(text.size(), 1023u);
    // Empty on a machine without adapters; otherwise "XX:XX:..|XX:..", no trailing bar.
    static const std::regex kShape(
        R"(([0-9A-F]{2}(:[0-9A-F]{2})*(\|[0-9A-F]{2}(:[0-9A-F]{2})*)*)?)");
    EXPECT_TRUE(std::regex_match(text, kShape)) << text;
}

TEST(UsageIdentityTest, SystemNameIsNeverEmpty) {
    EXPECT_FALSE(GetSystemName().empty());
}

TEST(UsageIdentityTest, ServerComesFromTheInstallationFileOrTheDefault) {
    testsupport::IsolatedEnv env;
    testsupport::TempDir install("trovik-install");
    const ClientPaths paths = MakeClientPaths(install.path().string(), install / "trovik");

    EXPECT_EQ(UsageServerHost(paths), kDefaultUsageServerHost);
    testsupport::WriteFile(paths.autoCfgFile, "[Stat]\nHost=\n");
    EXPECT_EQ(UsageServerHost(paths), kDefaultUsageServerHost);
    testsupport::WriteFile(paths.autoCfgFile,
                           "[UpdateServer]\nHost=up:1\n[stat]\nhost = 127.0.0.1:9\n");
    EXPECT_EQ(UsageServerHost(paths), "127.0.0.1:9");
}

TEST(UsageIdentityTest, SetupTakesGuidAndChidFromTheSettings) {
    testsupport::IsolatedEnv env;
    testsupport::TempDir install("trovik-install");
    const ClientPaths paths = MakeClientPaths(install.path().string(), install / "trovik");
    ClientSettings settings;
    settings.Guid = "{G}";
    settings.Chid = "c9";

    const UsageReportSetup setup = MakeUsageReportSetup(settings, paths);
    EXPECT_EQ(setup.identity.guid, "{G}");
    EXPECT_EQ(setup.identity.chid, "c9");
    EXPECT_EQ(setup.identity.fileVersion, TROVIK_TEST_FILE_VERSION);
    EXPECT_EQ(setup.identity.systemName, GetSystemName());
    EXPECT_EQ(setup.identity.adapterAddresses, CollectAdapterAddresses());
    EXPECT_EQ(setup.serverHost, kDefaultUsageServerHost);
}

}  // namespace

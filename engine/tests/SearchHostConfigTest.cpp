#include "engine/SearchHostConfig.h"

#include <gtest/gtest.h>

#include "platform/ProfileFile.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/TempDir.h"

namespace vantrel {
namespace {

using testsupport::ScopedEnv;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(SearchHostConfig, ReadsThePortalSectionOfTheFolder) {
    TempDir dir;
    EXPECT_EQ(ConfiguredSearchHost(dir.path().string()), "");
    WriteFile(dir.path() / "Config" / "AutoCfg.cfg",
              "[Other]\nSearchHost=wrong\n[portal]\r\n  searchhost =  so.example:8080  \r\n");
    EXPECT_EQ(ConfiguredSearchHost(dir.path().string()), "so.example:8080");
    EXPECT_EQ(ConfiguredSearchHost(""), "");
}

TEST(SearchHostConfig, EnvironmentOverrides) {
    ScopedEnv host(kSearchHostVariable, std::string("127.0.0.1:9"));
    EXPECT_EQ(SearchHost(), "127.0.0.1:9");
    EXPECT_EQ(BuildSearchUrl(SearchHost(), "%B7%E7"), "http://127.0.0.1:9/search_%B7%E7/");
}

TEST(SearchHostConfig, ShippedSettingsPointAtTheDefaultDevserver) {
    const std::string path = std::string(TROVIK_BIN_DIR) + "/Config/AutoCfg.cfg";
    using platform::ReadProfileString;
    EXPECT_EQ(ReadProfileString("Portal", "SearchHost", "", path), "127.0.0.1:18632");
    EXPECT_EQ(ReadProfileString("Portal", "TvHost", "", path), "127.0.0.1:18632");
    EXPECT_EQ(ReadProfileString("Portal", "VideoHost", "", path), "127.0.0.1:18632");
    EXPECT_EQ(ReadProfileString("UpdateServer", "Host", "", path), "http://127.0.0.1:18632/update");
    EXPECT_EQ(ReadProfileString("UpdateServer", "AppName", "", path), "Trovik");
    EXPECT_EQ(ReadProfileString("UpdateServer", "Channel", "", path), "stable");
    EXPECT_EQ(ReadProfileString("Stat", "Host", "", path), "127.0.0.1:18632");
}

}  // namespace
}  // namespace vantrel

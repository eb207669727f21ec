#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "client/core/ClientSettings.h"
#include "client/core/GuidText.h"
#include "platform/AutoStart.h"
#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/TempDir.h"

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

const std::regex kGuidPattern(
    R"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9a-f]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})");

class ClientSettingsTest : public ::testing::Test {
protected:
    ClientSettingsTest()
        : install_("trovik-install"),
          paths_(MakeClientPaths(install_.path().string(), install_ / "trovik")) {}

    std::string BaseSet(const char* key) const {
        return platform::ReadProfileString("BaseSet", key, "<absent>", paths_.configFile);
    }
    void WriteAutoCfg(const std::string& host, const std::string& appName) {
        WriteFile(paths_.autoCfgFile, "[UpdateServer]\r\nHost=" + host + "\r\nAppName=" + appName +
                                          "\r\nChannel=beta\r\n");
    }

    testsupport::IsolatedEnv env_;
    testsupport::TempDir install_;
    ClientPaths paths_;
    ClientSettings settings_;
};

TEST_F(ClientSettingsTest, WithoutUserFileEverythingKeepsItsInitialValue) {
    WriteFile(paths_.ChannelFile(), "[option]\nchid=channel7\n");
    settings_.BackGround = L"kept";

    EXPECT_TRUE(LoadSettings(settings_, paths_));

    EXPECT_TRUE(settings_.AutoStart);
    EXPECT_TRUE(settings_.MinShowInBar);
    EXPECT_FALSE(settings_.QuitOnClose);
    EXPECT_FALSE(settings_.ShowFloatingWindow);
    EXPECT_EQ(settings_.PosX, 0);
    EXPECT_EQ(settings_.PosY, 0);
    EXPECT_EQ(settings_.BackGround, L"kept");
    // No GUID is made and the channel file is not read before the user file exists.
    EXPECT_EQ(settings_.Guid, "");
    EXPECT_EQ(settings_.Chid, "");
    EXPECT_FALSE(fs::exists(paths_.configFile));
    // No installation file: the download prefixes stay empty.
    EXPECT_EQ(settings_.HotBaseUrl, "");
    EXPECT_EQ(settings_.LinkSiteBaseUrl, "");
    EXPECT_EQ(settings_.ThemeBaseUrl, "");
}

TEST_F(ClientSettingsTest, NonZeroFlagsLoadTrueAndAreSavedAsOne) {
    WriteFile(paths_.configFile,
              "[Local]\r\nAppPath=/opt/trovik\r\n"
              "[BaseSet]\r\nAutoStart=5\r\nMinShowInBar=0\r\nquitonclose = -3 \r\n"
              "ShowFloatingWindow=1x\r\nGUID={00000000-0000-4000-8000-000000000000}\r\n");

    LoadSettings(settings_, paths_);
    EXPECT_TRUE(settings_.AutoStart);
    EXPECT_FALSE(settings_.MinShowInBar);
    EXPECT_TRUE(settings_.QuitOnClose);
    EXPECT_TRUE(settings_.ShowFloatingWindow);

    EXPECT_TRUE(SaveSettings(settings_, paths_));
    EXPECT_EQ(BaseSet("AutoStart"), "1");
    EXPECT_EQ(BaseSet("MinShowInBar"), "0");
    EXPECT_EQ(BaseSet("QuitOnClose"), "1");
    EXPECT_EQ(BaseSet("ShowFloatingWindow"), "1");
    // The other keys, including the updater's, are left alone.
    EXPECT_EQ(BaseSet("GUID"), "{00000000-0000-4000-8000-000000000000}");
    EXPECT_EQ(platform::ReadProfileString("Local", "AppPath", "", paths_.configFile),
              "/opt/trovik");
}

TEST_F(ClientSettingsTest, SaveWritesTheStartupRecord) {
    settings_.AutoStart = false;
    ClientPaths paths = paths_;
    paths.executablePath = install_ / "目录/trovik";

    SaveSettings(settings_, paths);

    const std::string record = paths.StartupRecordFile();
    EXPECT_EQ(platform::ReadProfileString("AppPath", "AutoStart", "", record), "0");
    EXPECT_EQ(platform::ReadProfileString("AppPath", "CmdLine", "", record), "/runashide");
    EXPECT_EQ(platform::ReadProfileString("AppPath", "CmdShow", "", record), "0");
    // The file's text is in the ANSI code page; the path reads back unchanged.
    EXPECT_EQ(platform::ReadProfileString(L"AppPath", L"FileName", L"", record),
              platform::Utf8ToWide(paths.executablePath));
    const std::string bytes = ReadFile(record);
    EXPECT_NE(bytes.find(platform::Utf8ToGb18030("目录")), std::string::npos);
    EXPECT_LT(bytes.find("AutoStart"), bytes.find("FileName"));
    EXPECT_LT(bytes.find("FileName"), bytes.find("CmdLine"));
    EXPECT_LT(bytes.find("CmdLine"), bytes.find("CmdShow"));
    // The flags went to the user file.
    EXPECT_EQ(BaseSet("AutoStart"), "0");
    EXPECT_EQ(BaseSet("MinShowInBar"), "1");
}

TEST_F(ClientSettingsTest, MissingGuidIsCreatedOnceAndThenKept) {
    WriteFile(paths_.configFile, "[BaseSet]\nPosX=5\n");

    LoadSettings(settings_, paths_);
    ASSERT_TRUE(std::regex_match(settings_.Guid, kGuidPattern)) << settings_.Guid;
    EXPECT_EQ(settings_.Guid.size(), 38u);
    EXPECT_EQ(BaseSet("GUID"), settings_.Guid);

    ClientSettings again;
    LoadSettings(again, paths_);
    EXPECT_EQ(again.Guid, settings_.Guid);

    // An empty key counts as missing.
    platform::WriteProfileString("BaseSet", "GUID", "", paths_.configFile);
    ClientSettings renewed;
    LoadSettings(renewed, paths_);
    EXPECT_TRUE(std::regex_match(renewed.Guid, kGuidPattern));
    EXPECT_NE(renewed.Guid, settings_.Guid);
}

TEST(GuidTextTest, EveryCallMakesANewWellFormedGuid) {
    const std::string first = MakeGuidText();
    const std::string second = MakeGuidText();
    EXPECT_TRUE(std::regex_match(first, kGuidPattern)) << first;
    EXPECT_TRUE(std::regex_match(second, kGuidPattern)) << second;
    EXPECT_NE(first, second);
}

TEST_F(ClientSettingsTest, ChannelIsReadBesideTheExecutableAndCut) {
    WriteFile(paths_.configFile, "[BaseSet]\nGUID={G}\n");
    WriteFile(paths_.ChannelFile(), "[Option]\nCHID=" + std::string(300, 'c') + "\n");

    LoadSettings(settings_, paths_);
    EXPECT_EQ(settings_.Chid, std::string(255, 'c'));
    EXPECT_EQ(settings_.Guid, "{G}");
}

TEST_F(ClientSettingsTest, PositionIsLoadedAndSaved) {
    WriteFile(paths_.configFile, "[BaseSet]\nPosX=-40\nPosY=300px\n");
    LoadSettings(settings_, paths_);
    EXPECT_EQ(settings_.PosX, -40);
    EXPECT_EQ(settings_.PosY, 300);

    SaveFloatingPosition(settings_, paths_, 1210, -7);
    EXPECT_EQ(settings_.PosX, 1210);
    EXPECT_EQ(settings_.PosY, -7);
    EXPECT_EQ(BaseSet("PosX"), "1210");
    EXPECT_EQ(BaseSet("PosY"), "-7");

    ClientSettings again;
    LoadSettings(again, paths_);
    EXPECT_EQ(again.PosX, 1210);
    EXPECT_EQ(again.PosY, -7);
}

TEST_F(ClientSettingsTest, FirstPositionSaveCreatesTheUserFile) {
    ASSERT_FALSE(fs::exists(paths_.configFile));
    SaveFloatingPosition(settings_, paths_, 3, 4);
    EXPECT_EQ(BaseSet("PosX"), "3");
    EXPECT_EQ(BaseSet("PosY"), "4");
    EXPECT_EQ(BaseSet("GUID"), "<absent>");
}

TEST_F(ClientSettingsTest, BackgroundPathWithChineseTextRoundTrips) {
    const std::wstring image = L"/home/用户/.local/share/Trovik/Theme/夏天.jpg";
    SaveBackGround(settings_, paths_, image);
    EXPECT_EQ(settings_.BackGround, image);
    // Stored in the ANSI code page like every other text of the file.
    EXPECT_NE(ReadFile(paths_.configFile).find(platform::WideToGb18030(L"夏天")),
              std::string::npos);

    ClientSettings again;
    LoadSettings(again, paths_);
    EXPECT_EQ(again.BackGround, image);
}

TEST_F(ClientSettingsTest, OverlongBackgroundIsCutTo259Characters) {
    SaveBackGround(settings_, paths_, std::wstring(400, L'图'));
    ClientSettings again;
    LoadSettings(again, paths_);
    EXPECT_EQ(again.BackGround, std::wstring(259, L'图'));
}

struct PrefixCase {
    const char* host;
    const char* appName;
    const char* base;
};

class UpdateServerPrefixTest : public ClientSettingsTest,
                               public ::testing::WithParamInterface<PrefixCase> {};

TEST_P(UpdateServerPrefixTest, JoinsHostAndAppNameWithOneSlash) {
    const PrefixCase& c = GetParam();
    WriteAutoCfg(c.host, c.appName);

    LoadSettings(settings_, paths_);
    EXPECT_EQ(settings_.HotBaseUrl, std::string(c.base) + "Hot/");
    EXPECT_EQ(settings_.LinkSiteBaseUrl, std::string(c.base) + "LinkSite/");
    EXPECT_EQ(settings_.ThemeBaseUrl, std::string(c.base) + "Theme/");
}

INSTANTIATE_TEST_SUITE_P(
    HostAndAppName, UpdateServerPrefixTest,
    ::testing::Values(PrefixCase{"", "word", "/word/"}, PrefixCase{"", "", "/"},
                      PrefixCase{"http://up.example", "trovik", "http://up.example/trovik/"},
                      PrefixCase{"http://up.example/", "trovik/", "http://up.example/trovik/"},
                      PrefixCase{"http://up.example/", "", "http://up.example/"},
                      PrefixCase{"http://127.0.0.1:8080/a", "b/c",
                                 "http://127.0.0.1:8080/a/b/c/"}));

TEST_F(ClientSettingsTest, UpdateServerPrefixesNeedNoUserFile) {
    WriteAutoCfg("http://up.example", "trovik");
    LoadSettings(settings_, paths_);
    EXPECT_EQ(settings_.HotBaseUrl, "http://up.example/trovik/Hot/");
    EXPECT_EQ(settings_.Guid, "");
}

TEST_F(ClientSettingsTest, ProcessWideFunctionsUseTheProcessRecord) {
    ProcessClientPaths() = paths_;
    ProcessClientSettings() = ClientSettings{};
    WriteFile(paths_.configFile, "[BaseSet]\nQuitOnClose=1\nGUID={P}\n");

    LoadSettings();
    EXPECT_TRUE(ProcessClientSettings().QuitOnClose);
    EXPECT_EQ(ProcessClientSettings().Guid, "{P}");
    ProcessClientSettings().QuitOnClose = false;
    SaveSettings();
    EXPECT_EQ(BaseSet("QuitOnClose"), "0");
    SaveFloatingPosition(8, 9);
    EXPECT_EQ(BaseSet("PosX"), "8");

    ProcessClientPaths() = ClientPaths{};
    ProcessClientSettings() = ClientSettings{};
}

TEST_F(ClientSettingsTest, AutoStartEntryFollowsTheFlag) {
    const fs::path folder = env_.configHome() + "/autostart";
    const auto entries = [&] {
        if (!fs::exists(folder)) return 0;
        return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
    };

    ApplyAutoStart(true, paths_);
    ApplyAutoStart(true, paths_);
    EXPECT_EQ(entries(), 1);
    EXPECT_TRUE(platform::IsAutoStartOn());
    EXPECT_EQ(platform::AutoStartCommand(), paths_.executablePath);

    ApplyAutoStart(false, paths_);
    EXPECT_EQ(entries(), 0);
    EXPECT_FALSE(platform::IsAutoStartOn());
    // Turning it off again is harmless.
    ApplyAutoStart(false, paths_);
    EXPECT_FALSE(platform::IsAutoStartOn());
}

}  // namespace

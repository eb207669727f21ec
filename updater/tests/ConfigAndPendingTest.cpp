// The configuration, the version arithmetic and the pending-download list.

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/TempDir.h"
#include "updater/FileDigest.h"
#include "updater/PendingList.h"
#include "updater/UpdaterConfig.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

constexpr char kMd5Abc[] = "900150983cd24fb0d6963f7d28e17f72";

TEST(UpdaterConfig, BaseUrlAndVersionArithmetic) {
    EXPECT_EQ(MakeUpdateBaseUrl("http://h:1/u/", "x", "y"), "http://h:1/u/x/y/");
    EXPECT_EQ(MakeUpdateBaseUrl("http://h:1/u", "x", "y"), "http://h:1/u/x/y/");
    EXPECT_EQ(MakeUpdateBaseUrl("http://h", "x/", "y/"), "http://h/x/y/");
    EXPECT_EQ(MakeUpdateBaseUrl("http://h", "", "y"), "http://h/y/");
    EXPECT_EQ(MakeUpdateBaseUrl("http://h", "", ""), "http://h/");
    EXPECT_EQ(MakeUpdateBaseUrl("", "x", "y"), "");

    EXPECT_EQ(ParseVersionNumber("103"), 103);
    EXPECT_EQ(ParseVersionNumber(" \t\n103abc"), 103);
    EXPECT_EQ(ParseVersionNumber("+7\r\n"), 7);
    EXPECT_EQ(ParseVersionNumber("-3"), -3);
    EXPECT_EQ(ParseVersionNumber(""), 0);
    EXPECT_EQ(ParseVersionNumber("abc"), 0);
    EXPECT_EQ(ParseVersionNumber("- 3"), 0);
    EXPECT_EQ(ParseVersionNumber("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseVersionNumber("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(BuildNumberOf("1.2.0.1067"), 1067);
    EXPECT_EQ(BuildNumberOf(""), 0);
}

TEST(UpdaterConfig, ReadsBothFilesAndFallsBackToTheClientsFileVersion) {
    testsupport::IsolatedEnv env;
    const fs::path program = fs::path(env.root().path()) / "安装";
    WriteFile(program / "Config" / "AutoCfg.cfg",
              "[UpdateServer]\r\nHost=http://127.0.0.1:9/update\r\nAppName=Trovik\r\n"
              "Channel=stable\r\n");
    const std::string data = env.dataHome() + "/Trovik/";
    UpdaterConfig config = LoadUpdaterConfig(program.string());
    EXPECT_TRUE(fs::is_directory(data + "Config"));
    EXPECT_EQ(config.dataFolder, data);
    EXPECT_EQ(config.userConfigPath, data + "Config/Config.cfg");
    EXPECT_EQ(config.localManifestPath, data + "Config/LocalUpdate.json");
    EXPECT_EQ(config.serverManifestPath, data + "Config/SvrUpdate.json");
    EXPECT_EQ(config.stagingFolder, data + "UpdateDir");
    EXPECT_EQ(config.pendingListPath, data + "UpdateDir/UpdateLst.cfg");
    EXPECT_EQ(config.updateBaseUrl, "http://127.0.0.1:9/update/Trovik/stable/");

    // "Ver" absent (or 0): the build number of the client's file version, here the real
    // client of this build (1.0.1.102 style); "Ver" set: that.
    const std::string client = std::string(TROVIK_BIN_DIR) + "/trovik";
    WriteFile(config.userConfigPath,
              "[Local]\r\nWindowText=Trovik\r\nClassText=TrovikarClient\r\nAppFullName=" + client +
                  "\r\nImmediateUpdate=1\r\n[Version]\r\nVer=0\r\n");
    // The client writes the path with the wide functions: GB18030 bytes in the file.
    ASSERT_TRUE(platform::WriteProfileString(
        L"Local", L"AppPath", platform::Utf8ToWide(program.string() + "/"), config.userConfigPath));
    config = LoadUpdaterConfig(program.string());
    EXPECT_EQ(config.installedVersion, TROVIK_BUILD_NUMBER);
    EXPECT_EQ(config.clientWindowText, L"Trovik");
    EXPECT_EQ(config.clientClassText, L"TrovikarClient");
    EXPECT_EQ(config.appPath, program.string());  // the trailing "/" dropped
    EXPECT_EQ(config.appFullName, client);
    EXPECT_EQ(config.immediateUpdate, 1);
    WriteFile(config.userConfigPath, "[Version]\r\nVer=57\r\n");
    EXPECT_EQ(LoadUpdaterConfig(program.string()).installedVersion, 57);
}

class PendingTest : public ::testing::Test {
protected:
    void SetUp() override {
        config_.stagingFolder = (dir_.path() / "UpdateDir").string();
        config_.pendingListPath = config_.stagingFolder + "/UpdateLst.cfg";
    }
    UpdateItem Item(const std::string& rel, const std::string& md5) {
        UpdateItem item;
        item.localPath = config_.stagingFolder + "/" + rel;
        item.md5 = md5;
        item.url = "http://h/" + rel;
        return item;
    }
    void Stage(const std::string& rel, const std::string& bytes) {
        WriteFile(fs::path(config_.stagingFolder) / rel, bytes);
    }

    testsupport::TempDir dir_;
    UpdaterConfig config_;
};

TEST_F(PendingTest, ListFormatAndReadBack) {
    WritePendingList(config_.pendingListPath, {Item("a.txt", kMd5Abc), Item("S/b", kMd5Abc)});
    const std::string s = config_.stagingFolder;
    EXPECT_EQ(ReadFile(config_.pendingListPath),
              "{\"files\":[{\"filename\":\"" + s + "/a.txt\",\"md5\":\"" + kMd5Abc +
                  "\",\"url\":\"http://h/a.txt\"},{\"filename\":\"" + s + "/S/b\",\"md5\":\"" +
                  kMd5Abc + "\",\"url\":\"http://h/S/b\"}],\"success\":1}\n");
    const auto list = ReadPendingList(config_.pendingListPath);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->success, 1);
    ASSERT_EQ(list->files.size(), 2u);
    EXPECT_EQ(list->files[1].filename, s + "/S/b");

    WritePendingList(config_.pendingListPath, {});
    EXPECT_FALSE(fs::exists(config_.pendingListPath));

    // Malformed lists read as nothing.
    for (const char* text : {"[]", "{\"success\":\"1\",\"files\":[]}", "{\"files\":{}}",
                             "{\"files\":[{\"filename\":1,\"md5\":\"\",\"url\":\"\"}]}", "{"}) {
        WriteFile(config_.pendingListPath, text);
        EXPECT_FALSE(ReadPendingList(config_.pendingListPath)) << text;
    }
    EXPECT_EQ(StagedComponents(s + "/S/b", s), (std::vector<std::string>{"S", "b"}));
    for (const std::string& bad :
         std::vector<std::string>{s + "/../x", s + "//x", s + "/./x", s + "x/y", "/etc/passwd", s})
        EXPECT_FALSE(StagedComponents(bad, s)) << bad;
}

TEST_F(PendingTest, ReadyOnlyWhenEveryListedFileIsStagedWithItsDigest) {
    const std::vector<UpdateItem> items = {Item("one", kMd5Abc), Item("S/two", kMd5Abc),
                                           Item("three", kMd5Abc)};
    WritePendingList(config_.pendingListPath, items);
    EXPECT_FALSE(IsPendingUpdateReady(config_));
    Stage("S/two", "abc");  // only the second: half an update is not ready
    EXPECT_FALSE(IsPendingUpdateReady(config_));
    Stage("one", "abc");
    Stage("three", "abd");  // damaged
    EXPECT_FALSE(IsPendingUpdateReady(config_));
    Stage("three", "abc");
    EXPECT_TRUE(IsPendingUpdateReady(config_));

    // "success" 0, an entry outside the staging folder, or an empty list: not ready.
    std::string text = ReadFile(config_.pendingListPath);
    WriteFile(config_.pendingListPath,
              text.replace(text.find("\"success\":1"), 11, "\"success\":0"));
    EXPECT_FALSE(IsPendingUpdateReady(config_));
    UpdateItem outside = Item("x", kMd5Abc);
    outside.localPath = (dir_.path() / "abc").string();
    WriteFile(outside.localPath, "abc");
    WritePendingList(config_.pendingListPath, {items[0], outside});
    EXPECT_FALSE(IsPendingUpdateReady(config_));
    WriteFile(config_.pendingListPath, "{\"files\":[],\"success\":1}\n");
    EXPECT_FALSE(IsPendingUpdateReady(config_));
}

}  // namespace

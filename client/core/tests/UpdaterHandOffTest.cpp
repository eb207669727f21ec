// The hand-off to the updater: the "Local" keys and the start of "morvane" beside the
// client, through a stand-in updater script that records its starts.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "client/core/UpdaterHandOff.h"
#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/TempDir.h"
#include "tools/testsupport/WaitFor.h"

namespace {

namespace fs = std::filesystem;

class HandOffTest : public ::testing::Test {
protected:
    void SetUp() override {
        install_ = fs::path(env_.root().path()) / "安装 目录";
        fs::create_directories(install_);
        config_ = env_.dataHome() + "/Config.cfg";
        starts_ = install_ / "starts.log";
    }

    // A stand-in updater that appends its arguments to starts.log.
    void PlaceUpdater() {
        const fs::path script = install_ / "morvane";
        std::ofstream(script) << "#!/bin/sh\necho \"start $#\" >> '" << starts_.string() << "'\n";
        fs::permissions(script, fs::perms::owner_all);
    }

    std::wstring Key(const wchar_t* key) {
        return platform::ReadProfileString(L"Local", key, L"<none>", config_);
    }
    std::string Starts() { return testsupport::ReadFile(starts_); }

    testsupport::IsolatedEnv env_;
    fs::path install_;
    std::string config_;
    fs::path starts_;
};

TEST_F(HandOffTest, WithoutTheUpdaterNothingIsWrittenOrStarted) {
    EXPECT_TRUE(StartUpdater((install_ / "trovik").string(), config_, false));
    EXPECT_FALSE(fs::exists(config_));
}

TEST_F(HandOffTest, WritesTheFourKeysAndStartsTheUpdaterUnlessSuppressed) {
    PlaceUpdater();
    const std::string client = (install_ / "trovik").string();
    EXPECT_TRUE(StartUpdater(client, config_, true));
    EXPECT_EQ(Key(L"WindowText"), L"Trovik");
    EXPECT_EQ(Key(L"ClassText"), L"TrovikarClient");
    EXPECT_EQ(Key(L"AppPath"),
              platform::Utf8ToWide(install_.string()));  // a Chinese folder name survives
    EXPECT_EQ(Key(L"AppFullName"), platform::Utf8ToWide(client));
    // In the order the updater expects them, in one section.
    const std::string text = testsupport::ReadFile(config_);
    EXPECT_LT(text.find("WindowText"), text.find("ClassText"));
    EXPECT_LT(text.find("ClassText"), text.find("AppPath"));
    EXPECT_LT(text.find("AppPath"), text.find("AppFullName"));

    // Suppressed ("/noupdate"): the keys, but no process. A later start (a moved
    // installation) rewrites them and starts the updater without arguments.
    EXPECT_FALSE(fs::exists(starts_));
    const fs::path moved = install_.parent_path() / "moved";
    fs::rename(install_, moved);
    install_ = moved;
    starts_ = moved / "starts.log";
    PlaceUpdater();
    EXPECT_TRUE(StartUpdater((moved / "trovik").string(), config_, false));
    EXPECT_EQ(Key(L"AppPath"), platform::Utf8ToWide(moved.string()));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Starts() == "start 0\n"; })) << Starts();
}

}  // namespace

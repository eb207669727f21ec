// Whole runs of the real morvane against a loopback update server and a private
// installation: what it fetches, what it installs, and what a failure leaves.

#include <gtest/gtest.h>
#include <unistd.h>

#include <future>

#include "tools/testsupport/WaitFor.h"
#include "updater/PendingList.h"
#include "updater/tests/UpdateServer.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;
using updatertest::UpdateServerTest;

using UpdaterRun = UpdateServerTest;

const std::vector<std::string> kVersionOnly = {"HEAD Version.txt", "GET Version.txt"};

TEST_F(UpdaterRun, NoNewerVersionOrNoServerChangesNothing) {
    Publish("100\r\n", {{"a.txt", "new"}});
    auto result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ChannelRequests(), kVersionOnly);  // the manifest is never fetched

    Publish("99abc", {{"a.txt", "new"}});
    EXPECT_EQ(RunMorvane().exitCode, 0);
    server_.Stop();
    result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;

    EXPECT_EQ(UserKey("Version", "Ver"), "100");
    EXPECT_FALSE(fs::exists(install_ / "a.txt"));
    EXPECT_FALSE(fs::exists(staging_));
    EXPECT_TRUE(ClientStarts().empty());
}

TEST_F(UpdaterRun, FetchesExactlyTheChangedFilesAndInstallsThem) {
    WriteFile(install_ / "same.txt", "same");
    WriteFile(install_ / "changed.txt", "old");
    WriteFile(install_ / "Skin" / "keep.png", "keep");
    Publish("101\n", {{"same.txt", "same"},
                      {"changed.txt", "new bytes"},
                      {"added.txt", "added"},
                      {"Config.cfg", "never"},
                      {"Skin/keep.png", "keep"},
                      {"Skin/Deep/VERSION.TXT", "never"},
                      {"Skin/Deep/new.png", "png"}});
    const auto result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;

    // ImmediateUpdate=1: installed without a question, the client started again.
    ASSERT_TRUE(WaitForClientStarts(1)) << result.err;
    EXPECT_EQ(ClientStarts(), std::vector<std::string>{"start "});
    EXPECT_EQ(ChannelRequests(),
              (std::vector<std::string>{"HEAD Version.txt", "GET Version.txt", "HEAD Update.txt",
                                        "GET Update.txt", "GET added.txt", "GET changed.txt",
                                        "GET Skin/Deep/new.png"}));
    EXPECT_EQ(ReadFile(install_ / "changed.txt"), "new bytes");
    EXPECT_EQ(ReadFile(install_ / "added.txt"), "added");
    EXPECT_EQ(ReadFile(install_ / "Skin" / "Deep" / "new.png"), "png");
    EXPECT_EQ(ReadFile(install_ / "same.txt"), "same");
    EXPECT_FALSE(fs::exists(install_ / "Config.cfg"));
    EXPECT_EQ(UserKey("Version", "Ver"), "101");
    EXPECT_EQ(UserKey("Local", "AppPath"), install_.string());
    EXPECT_TRUE(testsupport::WaitFor([&] { return !fs::exists(staging_); }));
    EXPECT_TRUE(fs::exists(data_ / "morvane"));  // the install step ran from the data folder
    EXPECT_TRUE(fs::exists(data_ / "Config" / "LocalUpdate.json"));
    EXPECT_TRUE(fs::exists(data_ / "Config" / "SvrUpdate.json"));

    // The next run finds nothing to do.
    EXPECT_EQ(RunMorvane().exitCode, 0);
    EXPECT_EQ(ClientStarts().size(), 1u);
}

TEST_F(UpdaterRun, AFailedOrDamagedDownloadLeavesNothingBehind) {
    WriteFile(install_ / "f1", "old");
    const std::map<std::string, std::string> files = {
        {"f1", "1"}, {"f2", "2"}, {"f3", "3"}, {"f4", "4"}, {"f5", "5"}};
    Publish("101", files);
    Fail("f3");
    auto result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> requests = ChannelRequests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET f3"), 1);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET f4"), 0);
    EXPECT_FALSE(fs::exists(staging_));
    EXPECT_EQ(UserKey("Version", "Ver"), "100");
    EXPECT_EQ(ReadFile(install_ / "f1"), "old");

    // Bytes that do not match the manifest's digest count as a failed download.
    Publish("101", files);
    Corrupt("f2");
    result = RunMorvane();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("MD5"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(staging_));
    EXPECT_EQ(UserKey("Version", "Ver"), "100");
    EXPECT_EQ(ReadFile(install_ / "f1"), "old");
    EXPECT_TRUE(ClientStarts().empty());
}

TEST_F(UpdaterRun, AHalfStagedListIsNotInstalled) {
    WriteFile(install_ / "a.txt", "old");
    WriteFile(staging_ / "a.txt", "abc");
    UpdateItem staged, missing;
    staged.localPath = (staging_ / "a.txt").string();
    staged.md5 = "900150983cd24fb0d6963f7d28e17f72";
    missing.localPath = (staging_ / "b.txt").string();
    missing.md5 = staged.md5;
    WritePendingList((staging_ / "UpdateLst.cfg").string(), {staged, missing});
    server_.Stop();

    EXPECT_EQ(RunMorvane().exitCode, 0);
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "old");
    EXPECT_TRUE(ClientStarts().empty());

    // Complete, the same list is installed at the next start, without any server.
    WriteFile(staging_ / "b.txt", "abc");
    EXPECT_EQ(RunMorvane().exitCode, 0);
    ASSERT_TRUE(WaitForClientStarts(1));
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "abc");
    EXPECT_EQ(ReadFile(install_ / "b.txt"), "abc");
}

TEST_F(UpdaterRun, TheElevatedStepInstallsOnlyIntoItsOwnFolder) {
    if (geteuid() != 0) GTEST_SKIP() << "the elevated step is recognised only as root";
    WriteFile(staging_ / "a.txt", "abc");
    UpdateItem item;
    item.localPath = (staging_ / "a.txt").string();
    item.md5 = "900150983cd24fb0d6963f7d28e17f72";
    WritePendingList((staging_ / "UpdateLst.cfg").string(), {item});

    // As pkexec starts it (PKEXEC_UID set): an "AppPath" naming another folder is
    // refused.
    const fs::path other = fs::path(env_.root().path()) / "other";
    fs::create_directories(other);
    SetUserKey("Local", "AppPath", other.string());
    EXPECT_EQ(RunMorvane({"COPYFILE"}, {"PKEXEC_UID=0"}).exitCode, 0);
    EXPECT_TRUE(fs::is_empty(other));

    // Its own folder is accepted; the root step leaves the user's staging folder alone
    // and starts no client (the user's updater that waits for it does).
    SetUserKey("Local", "AppPath", install_.string());
    EXPECT_EQ(RunMorvane({"copyfile"}, {"PKEXEC_UID=0"}).exitCode, 0);
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "abc");
    EXPECT_TRUE(fs::exists(staging_ / "a.txt"));
    EXPECT_TRUE(ClientStarts().empty());
}

TEST_F(UpdaterRun, ASecondStartLeavesTheRunningUpdater) {
    Publish("100", {});
    Hold();
    auto first = std::async(std::launch::async, [this] { return RunMorvane(); });
    ASSERT_TRUE(testsupport::WaitFor([&] { return !ChannelRequests().empty(); }));
    const auto second = RunMorvane();
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(ChannelRequests().size(), 1u);  // only the first one asked
    Release();
    EXPECT_EQ(first.get().exitCode, 0);
}

}  // namespace

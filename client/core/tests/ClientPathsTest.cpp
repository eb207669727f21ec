#include <gtest/gtest.h>

#include <filesystem>

#include "client/core/ClientPaths.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/TempDir.h"

namespace fs = std::filesystem;

TEST(ClientPathsTest, BuildsEveryPathAndCreatesTheWritableFolders) {
    testsupport::IsolatedEnv env;
    testsupport::TempDir install("trovik-install");
    const std::string folder = install.path().string();

    const ClientPaths paths = MakeClientPaths(folder, folder + "/trovik");

    EXPECT_EQ(paths.instancePath, folder + "/");
    EXPECT_EQ(paths.dataFolder, env.dataHome() + "/Trovik/");
    EXPECT_EQ(paths.startupRecordFolder, env.dataHome() + "/ParseTaskServices");
    EXPECT_EQ(paths.tempFolder, env.tmpDir() + "/");
    EXPECT_EQ(paths.configFile, env.dataHome() + "/Trovik/Config/Config.cfg");
    EXPECT_EQ(paths.autoCfgFile, folder + "/Config/AutoCfg.cfg");
    EXPECT_EQ(paths.hotListFile, env.dataHome() + "/Trovik/Hot/Hot.cfg");
    EXPECT_EQ(paths.linkSiteListFile, env.dataHome() + "/Trovik/LinkSite/LinkSite.cfg");
    EXPECT_EQ(paths.ChannelFile(), folder + "/goption.ini");
    EXPECT_EQ(paths.StartupRecordFile(), env.dataHome() + "/ParseTaskServices/Cfg.cfg");
    EXPECT_EQ(paths.ThemeFolder(), env.dataHome() + "/Trovik/Theme/");

    EXPECT_TRUE(fs::is_directory(paths.dataFolder));
    EXPECT_TRUE(fs::is_directory(paths.startupRecordFolder));
    EXPECT_TRUE(fs::is_directory(env.dataHome() + "/Trovik/Config"));
    // The list and theme folders appear only when something is downloaded into them.
    EXPECT_FALSE(fs::exists(env.dataHome() + "/Trovik/Hot"));
    EXPECT_FALSE(fs::exists(env.dataHome() + "/Trovik/LinkSite"));
    EXPECT_FALSE(fs::exists(paths.ThemeFolder()));
    // Nothing is written into the installation folder.
    EXPECT_TRUE(fs::is_empty(install.path()));
}

TEST(ClientPathsTest, CreatesEveryMissingLevelOfTheDataFolder) {
    testsupport::IsolatedEnv env;
    const std::string deep = env.dataHome() + "/a/b c/数据";
    testsupport::ScopedEnv data("XDG_DATA_HOME", deep);

    const ClientPaths paths = MakeClientPaths("/opt/trovik/", "/opt/trovik/trovik");

    EXPECT_EQ(paths.instancePath, "/opt/trovik/");
    EXPECT_TRUE(fs::is_directory(deep + "/Trovik/Config"));
    EXPECT_TRUE(fs::is_directory(deep + "/ParseTaskServices"));
}

TEST(ClientPathsTest, ProcessWideSetUpUsesTheRunningExecutable) {
    testsupport::IsolatedEnv env;
    SetUpClientPaths("/opt/trovik");
    const ClientPaths& paths = ProcessClientPaths();
    EXPECT_EQ(paths.instancePath, "/opt/trovik/");
    EXPECT_EQ(paths.executablePath, fs::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(paths.configFile, env.dataHome() + "/Trovik/Config/Config.cfg");
    ProcessClientPaths() = ClientPaths{};
}

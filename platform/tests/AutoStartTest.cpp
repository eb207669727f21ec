#include "platform/AutoStart.h"

#include <dirent.h>

#include <gtest/gtest.h>

#include "platform/Folders.h"
#include "tools/testsupport/IsolatedEnv.h"

namespace platform {
namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.' || entry->d_name[1] > '.')
                names.emplace_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

TEST(AutoStart, OnWritesOneEntryAndOffRemovesIt) {
    testsupport::IsolatedEnv env;
    const std::string folder = env.configHome() + "/autostart";
    EXPECT_FALSE(IsAutoStartOn());
    EXPECT_EQ(AutoStartCommand(), "");

    ASSERT_TRUE(SetAutoStart(true, "/opt/trovik/trovik"));
    ASSERT_TRUE(SetAutoStart(true, "/opt/trovik/trovik"));
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"trovik.desktop"});
    EXPECT_EQ(testsupport::ReadFile(folder + "/trovik.desktop"),
              "[Desktop Entry]\nType=Application\nName=Trovik\nExec=/opt/trovik/trovik\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_TRUE(IsAutoStartOn());
    EXPECT_EQ(AutoStartCommand(), "/opt/trovik/trovik");

    // Moving the installation and confirming again points the entry at the new path.
    ASSERT_TRUE(SetAutoStart(true, "/home/u/trovik/trovik"));
    EXPECT_EQ(AutoStartCommand(), "/home/u/trovik/trovik");

    ASSERT_TRUE(SetAutoStart(false, ""));
    EXPECT_FALSE(IsAutoStartOn());
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_TRUE(SetAutoStart(false, ""));  // already off
}

TEST(AutoStart, PathsWithReservedCharactersRoundTrip) {
    testsupport::IsolatedEnv env;
    for (const std::string path :
         {"/opt/My Apps/trovik", "/a/\"q\"/$HOME/100%/b\\c/`x`;&|*?#()<>~'", "/用户/程序/trovik",
          "/tab\there/new\nline"}) {
        ASSERT_TRUE(SetAutoStart(true, path));
        EXPECT_EQ(AutoStartCommand(), path);
    }
    ASSERT_TRUE(SetAutoStart(true, "/opt/My Apps/100%/trovik"));
    const std::string entry = testsupport::ReadFile(env.configHome() + "/autostart/trovik.desktop");
    EXPECT_NE(entry.find("\nExec=\"/opt/My Apps/100%%/trovik\"\n"), std::string::npos) << entry;
}

TEST(AutoStart, ConfigFolderFollowsHomeWithoutXdgConfigHome) {
    testsupport::IsolatedEnv env;
    testsupport::ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    ASSERT_TRUE(SetAutoStart(true, "/opt/trovik/trovik"));
    EXPECT_TRUE(PathExists(env.home() + "/.config/autostart/trovik.desktop"));
    EXPECT_FALSE(SetAutoStart(true, ""));
}

}  // namespace
}  // namespace platform

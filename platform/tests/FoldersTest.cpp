#include "platform/Folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tools/testsupport/IsolatedEnv.h"

namespace platform {
namespace {

using testsupport::IsolatedEnv;
using testsupport::ScopedEnv;

TEST(Folders, XdgVariablesChooseTheUserFolders) {
    IsolatedEnv env;
    EXPECT_EQ(AppDataFolder(), env.dataHome());
    EXPECT_EQ(ConfigFolder(), env.configHome());
    EXPECT_EQ(RuntimeFolder(), env.runtimeDir());
    EXPECT_EQ(TempFolder(), env.tmpDir() + "/");

    ScopedEnv trailing("XDG_DATA_HOME", env.dataHome() + "//");
    EXPECT_EQ(AppDataFolder(), env.dataHome());
}

TEST(Folders, FallBackToTheHomeFolder) {
    IsolatedEnv env;
    ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
    ScopedEnv relativeConfig("XDG_CONFIG_HOME", "relative/config");  // ignored: not absolute
    ScopedEnv noTmp("TMPDIR", std::nullopt);
    EXPECT_EQ(AppDataFolder(), env.home() + "/.local/share");
    EXPECT_EQ(ConfigFolder(), env.home() + "/.config");
    EXPECT_EQ(TempFolder(), "/tmp/");
}

TEST(Folders, RuntimeFallbackIsPrivate) {
    IsolatedEnv env;
    ScopedEnv noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const std::string expected = "/tmp/trovik-runtime-" + std::to_string(geteuid());
    const bool existed = PathExists(expected);
    const std::string folder = RuntimeFolder();
    ASSERT_EQ(folder, expected);
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
    if (!existed) rmdir(folder.c_str());
}

TEST(Folders, ExecutablePathIsThisTestProgram) {
    const std::string path = ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "platform_tests");
    EXPECT_EQ(ExecutableFolder() + "/platform_tests", path);
    EXPECT_TRUE(IsDirectory(ExecutableFolder()));
}

TEST(MakeDirectoryPath, CreatesEveryMissingLevel) {
    IsolatedEnv env;
    const std::string base = env.root() / "a";
    EXPECT_TRUE(MakeDirectoryPath(base + "/b/c/"));
    EXPECT_TRUE(IsDirectory(base + "/b/c"));
    // Everything exists now: nothing created.
    EXPECT_FALSE(MakeDirectoryPath(base + "/b/c"));
    EXPECT_FALSE(MakeDirectoryPath(base));
    // Doubled separators and one new level.
    EXPECT_TRUE(MakeDirectoryPath(base + "//b///d"));
    EXPECT_TRUE(IsDirectory(base + "/b/d"));
    EXPECT_FALSE(MakeDirectoryPath(""));
    EXPECT_FALSE(MakeDirectoryPath("/"));
}

TEST(MakeDirectoryPath, ReportsFailureBelowAFile) {
    IsolatedEnv env;
    testsupport::WriteFile(env.root() / "file", "x");
    EXPECT_FALSE(MakeDirectoryPath(env.root() / "file/sub"));
    EXPECT_FALSE(PathExists(env.root() / "file/sub"));
    EXPECT_TRUE(PathExists(env.root() / "file"));
    EXPECT_FALSE(IsDirectory(env.root() / "file"));
}

TEST(MakeDirectoryPath, HandlesPathsLongerThanPathMax) {
    IsolatedEnv env;
    const std::string level(200, 'x');
    std::string path = env.root() / "deep";
    for (int i = 0; i < 40; ++i) path += "/" + level;  // about 8 KB, beyond PATH_MAX
    ASSERT_GT(path.size(), 4096u);
    EXPECT_TRUE(MakeDirectoryPath(path));

    // Walk down level by level to see that the deepest folder exists.
    int fd = open((env.root() / "deep").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 40; ++i) {
        int next = openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        ASSERT_GE(next, 0) << "level " << i;
        fd = next;
    }
    close(fd);
    EXPECT_FALSE(MakeDirectoryPath(path));
}

TEST(MakeDirectoryPath, RelativePathsStartAtTheWorkingFolder) {
    IsolatedEnv env;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(env.root().path().c_str()), 0);
    const bool created = MakeDirectoryPath("rel/one/two");
    const bool exists = IsDirectory(env.root() / "rel/one/two");
    ASSERT_EQ(chdir(old), 0);
    EXPECT_TRUE(created);
    EXPECT_TRUE(exists);
}

}  // namespace
}  // namespace platform

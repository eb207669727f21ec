// Temporary files of writers that were killed: recognised by name, removed by the next
// write into the folder, while the files of writers that still run stay.

#include "platform/TempFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/ProfileFile.h"
#include "tools/testsupport/IsolatedEnv.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

Names Entries(const std::string& folder) {
    Names names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The pid of a process that has ended (and been reaped).
long EndedPid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

std::string TempName(const std::string& target, long pid) {
    return "." + target + "." + std::to_string(pid) + "-0123456789abcdef.trovik-tmp";
}

void Touch(const std::string& path, std::chrono::minutes age = std::chrono::minutes(0)) {
    testsupport::WriteFile(path, "partial");
    const timespec when{
        time(nullptr) - std::chrono::duration_cast<std::chrono::seconds>(age).count(), 0};
    const timespec times[2] = {when, when};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(TempFilesTest, NamesCarryTheWriterAndParseBack) {
    const std::string path = TempFilePathFor("/some/folder/Config.cfg");
    ASSERT_EQ(FolderOf(path), "/some/folder/");
    long pid = 0;
    ASSERT_TRUE(ParseTempFileName(path.substr(FolderOf(path).size()), &pid)) << path;
    EXPECT_EQ(pid, static_cast<long>(getpid()));
    EXPECT_NE(TempFilePathFor("/some/folder/Config.cfg"), path);
    // Long names are cut so that the whole name fits a directory entry.
    const std::string longTarget(300, 'n');
    EXPECT_LE(TempFilePathFor(longTarget).size(), 255u);

    for (const std::string& other : Names{
             "Config.cfg", ".Config.cfg.0123456789abcdef.part", ".x.12-0123456789ABCDEF.trovik-tmp",
             ".x.12-0123456789abcde.trovik-tmp", ".x.-0123456789abcdef.trovik-tmp",
             "..12-0123456789abcdef.trovik-tmp", ".x.1a-0123456789abcdef.trovik-tmp",
             ".x.0-0123456789abcdef.trovik-tmp", "x.12-0123456789abcdef.trovik-tmp"})
        EXPECT_FALSE(ParseTempFileName(other, &pid)) << other;
    EXPECT_TRUE(ParseTempFileName(".a.b.c.12-0123456789abcdef.trovik-tmp", &pid));
    EXPECT_EQ(pid, 12);
}

TEST(TempFilesTest, OnlyFilesOfEndedOrLongSilentWritersAreRemoved) {
    testsupport::IsolatedEnv env;
    const std::string folder = env.root() / "f/";
    fs::create_directories(folder);
    const long ended = EndedPid();
    Touch(folder + TempName("a.jpg", ended));                               // writer killed
    Touch(folder + TempName("b.jpg", getpid()), std::chrono::minutes(61));  // silent too long
    Touch(folder + TempName("c.jpg", getpid()), std::chrono::minutes(59));  // still ours
    Touch(folder + TempName("d.cfg", getppid()), std::chrono::minutes(5));  // another live writer
    Touch(folder + ".e.jpg.0123456789abcdef.part", std::chrono::minutes(600));  // not our naming
    Touch(folder + "f.jpg");
    fs::create_directory(folder + TempName("g", ended));  // not a file
    EXPECT_EQ(RemoveStaleTempFiles(folder), 2);
    EXPECT_EQ(Entries(folder),
              (Names{TempName("c.jpg", getpid()), TempName("d.cfg", getppid()),
                     ".e.jpg.0123456789abcdef.part", TempName("g", ended), "f.jpg"}));
}

TEST(TempFilesTest, TheNextSettingsWriteInTheFolderRemovesAKilledWritersFile) {
    testsupport::IsolatedEnv env;
    const std::string folder = env.root() / "cfg/";
    fs::create_directories(folder);
    const std::string leftover = folder + TempName("Config.cfg", EndedPid());
    Touch(leftover);
    ASSERT_TRUE(WriteProfileString("Local", "AppPath", "/opt/trovik", folder + "Config.cfg"));
    EXPECT_EQ(Entries(folder), Names{"Config.cfg"});
}

}  // namespace
}  // namespace platform

// The install step's file work: only listed files, only below the installation, by
// rename from a complete copy, and what stays staged when a file cannot be installed.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tools/testsupport/TempDir.h"
#include "updater/InstallStep.h"
#include "updater/PendingList.h"
#include "updater/UpdaterConfig.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

constexpr char kMd5Abc[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr char kMd5Elf[] = "8d91219579e943485d73832464a720fb";  // "\x7f" "ELF" "1"
constexpr char kMd5New[] = "22af645d1859cb5ca6da0c484f1f37ea";  // "new"

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        config_.appPath = (dir_.path() / "app").string();
        config_.stagingFolder = (dir_.path() / "UpdateDir").string();
        config_.pendingListPath = config_.stagingFolder + "/UpdateLst.cfg";
        fs::create_directories(config_.appPath);
    }
    void Stage(const std::string& rel, const std::string& bytes, const std::string& md5) {
        WriteFile(fs::path(config_.stagingFolder) / rel, bytes);
        UpdateItem item;
        item.localPath = config_.stagingFolder + "/" + rel;
        item.md5 = md5;
        items_.push_back(item);
        WritePendingList(config_.pendingListPath, items_);
    }
    fs::path App(const std::string& rel) const { return fs::path(config_.appPath) / rel; }
    static unsigned Mode(const fs::path& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_mode & 0777;
    }

    testsupport::TempDir dir_;
    UpdaterConfig config_;
    std::vector<UpdateItem> items_;
};

TEST_F(InstallTest, InstallsListedFilesByRenameKeepingModes) {
    WriteFile(App("tool.sh"), "old");
    fs::permissions(App("tool.sh"), fs::perms(0700));
    Stage("tool.sh", "new", kMd5New);
    Stage("Sub/Deep/prog",
          "\x7f"
          "ELF1",
          kMd5Elf);
    Stage("Sub/notes.txt", "abc", kMd5Abc);
    WriteFile(fs::path(config_.stagingFolder) / "unlisted.txt", "abc");  // not in the list

    const InstallSummary first = InstallPendingFiles(config_);
    EXPECT_TRUE(first.listRead);
    EXPECT_EQ(first.installed, 3);
    EXPECT_EQ(ReadFile(App("tool.sh")), "new");
    EXPECT_EQ(Mode(App("tool.sh")), 0700u);
    EXPECT_EQ(Mode(App("Sub/Deep/prog")), 0755u);
    EXPECT_EQ(Mode(App("Sub/notes.txt")), 0644u);
    EXPECT_FALSE(fs::exists(App("unlisted.txt")));
    // No temporary file is left beside the targets.
    for (const auto& entry : fs::recursive_directory_iterator(config_.appPath))
        EXPECT_EQ(entry.path().filename().string().find(".morvane-"), std::string::npos);
    // The install step itself changes nothing in the staging folder (an interrupted
    // install is simply repeated); the reconciliation as the user clears it.
    EXPECT_TRUE(fs::exists(config_.pendingListPath));
    EXPECT_EQ(InstallPendingFiles(config_).installed, 3);
    ReconcilePending(config_);
    EXPECT_FALSE(fs::exists(config_.stagingFolder));
}

TEST_F(InstallTest, NeverWritesOutsideTheInstallationAndKeepsWhatFailed) {
    // "Sub" in the installation is a link to a folder elsewhere: not followed.
    const fs::path outside = dir_.path() / "outside";
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, App("Sub"));
    fs::create_directories(App("Busy"));  // a folder where a file should go
    Stage("Sub/x.txt", "abc", kMd5Abc);
    Stage("Busy", "new", kMd5New);
    Stage("ok.txt", "abc", kMd5Abc);
    Stage("damaged.txt", "abd", kMd5Abc);
    // An entry naming a file outside the staging folder is never read.
    WriteFile(dir_.path() / "evil.txt", "abc");
    items_.push_back(items_.back());
    items_.back().localPath = (dir_.path() / "evil.txt").string();
    WritePendingList(config_.pendingListPath, items_);

    const InstallSummary summary = InstallPendingFiles(config_);
    EXPECT_EQ(summary.installed, 1);
    EXPECT_EQ(summary.failed, 2);
    EXPECT_EQ(summary.skipped, 2);
    EXPECT_FALSE(fs::exists(App("evil.txt")));
    EXPECT_TRUE(fs::is_empty(outside));
    EXPECT_TRUE(fs::is_directory(App("Busy")));
    EXPECT_FALSE(fs::exists(App("damaged.txt")));
    EXPECT_EQ(ReadFile(App("ok.txt")), "abc");

    // Reconciled: the installed entry goes with its staged file; the others stay
    // staged with their entries for the next run.
    ReconcilePending(config_);
    const auto list = ReadPendingList(config_.pendingListPath);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->files.size(), 4u);
    EXPECT_FALSE(fs::exists(fs::path(config_.stagingFolder) / "ok.txt"));
    EXPECT_TRUE(fs::exists(fs::path(config_.stagingFolder) / "Busy"));
    for (const auto& entry : list->files)
        EXPECT_EQ(entry.filename.find("ok.txt"), std::string::npos);

    // The target becomes free: the next run installs it.
    fs::remove(App("Busy"));
    EXPECT_EQ(InstallPendingFiles(config_).installed, 1);  // "Sub" stays refused
    EXPECT_EQ(ReadFile(App("Busy")), "new");
}

TEST_F(InstallTest, DeleteDirectoryTreeRemovesLinksNotTheirTargets) {
    const fs::path keep = dir_.path() / "keep";
    WriteFile(keep / "file", "x");
    WriteFile(fs::path(config_.stagingFolder) / "a" / "b", "x");
    fs::create_directory_symlink(keep, fs::path(config_.stagingFolder) / "link");
    EXPECT_TRUE(DeleteDirectoryTree(config_.stagingFolder));
    EXPECT_FALSE(fs::exists(config_.stagingFolder));
    EXPECT_TRUE(fs::exists(keep / "file"));
    EXPECT_FALSE(DeleteDirectoryTree(config_.stagingFolder));
    EXPECT_FALSE(DeleteDirectoryTree((keep / "file").string()));
}

}  // namespace

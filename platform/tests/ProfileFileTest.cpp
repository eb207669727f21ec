#include "platform/ProfileFile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/CodePage.h"
#include "platform/tests/ChildProcess.h"
#include "tools/testsupport/IsolatedEnv.h"

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

// Files as people write them by hand, read through the file-level functions.
struct FileCase {
    const char* bytes;
    const char* section;
    const char* key;
    const char* expected;  // with the default "<none>"
};

class ProfileFileRead : public ::testing::TestWithParam<FileCase> {};

TEST_P(ProfileFileRead, FollowsTheLookupRules) {
    testsupport::IsolatedEnv env;
    const FileCase& c = GetParam();
    const std::string path = env.root() / "case.ini";
    WriteFile(path, c.bytes);
    EXPECT_EQ(ReadProfileString(c.section, c.key, "<none>", path), c.expected) << c.bytes;
    EXPECT_EQ(ReadProfileString(Gb18030ToWide(c.section), Gb18030ToWide(c.key), L"<none>", path),
              Gb18030ToWide(c.expected))
        << c.bytes;
}

INSTANTIATE_TEST_SUITE_P(
    HandWritten, ProfileFileRead,
    ::testing::Values(
        FileCase{"[BaseSet]\r\nAutoStart=1\r\nPosX=-20\r\n", "baseset", "posx", "-20"},
        FileCase{"\t[ Theme ] \n\tBackGround \t=  /a b/c.jpg \t\n", "THEME", "background",
                 "/a b/c.jpg"},
        FileCase{"[Local]\nAppPath=/opt/trovik", "Local", "AppPath", "/opt/trovik"},
        FileCase{"[Local]\nAppPath=", "Local", "AppPath", ""},
        FileCase{"[a]\nk=1\nk=2\n[A]\nk=3\nj=4\n", "a", "k", "1"},
        FileCase{"[a]\nk=1\n[A]\nj=4\n", "a", "j", "<none>"},
        FileCase{"[a]\n\n\n; k=commented\nk = last \n", "a", "k", "last"},
        FileCase{"[a]\nk=\"  spaced  \"\n", "a", "k", "  spaced  "},
        FileCase{"[a]\nk=x\n[b]\r\n", "b", "k", "<none>"},
        FileCase{"no sections at all\nk=v\n", "a", "k", "<none>"},
        FileCase{"[Version]\nVer=12abc\n", "Version", "Ver", "12abc"},
        FileCase{"[\xC6\xB5\xB5\xC0]\n\xC3\xFB=\xBE\xA9\xB3\xC7\n", "\xC6\xB5\xB5\xC0", "\xC3\xFB",
                 "\xBE\xA9\xB3\xC7"},
        FileCase{"[\x81\x5D]\nk=v\n", "\x81\x5D", "k", "v"},  // "]" as a trailing byte
        FileCase{"", "a", "k", "<none>"}));

TEST(ProfileFile, DefaultsWhenFileSectionOrKeyIsAbsent) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "Config.cfg";
    EXPECT_EQ(ReadProfileString("BaseSet", "GUID", "dflt", path), "dflt");
    EXPECT_EQ(ReadProfileInt("BaseSet", "AutoStart", 1, path), 1);
    EXPECT_EQ(ReadProfileInt(L"BaseSet", L"AutoStart", 7, path), 7);
    WriteFile(path, "[BaseSet]\nPosX=3\n");
    EXPECT_EQ(ReadProfileInt("Other", "PosX", 9, path), 9);
    EXPECT_EQ(ReadProfileInt("BaseSet", "PosY", 9, path), 9);
    EXPECT_EQ(ReadProfileString(L"BaseSet", L"PosY", L"d", path), L"d");
}

TEST(ProfileFile, IntegerReadTakesTheLeadingNumber) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "n.ini";
    WriteFile(path,
              "[n]\nfive=5\nmixed=12abc\nletters=abc\nempty=\nnegative= -3 \nbig=4294967298\n");
    EXPECT_EQ(ReadProfileInt("n", "five", 0, path), 5);
    EXPECT_EQ(ReadProfileInt("N", "MIXED", 0, path), 12);
    EXPECT_EQ(ReadProfileInt("n", "letters", 9, path), 0);
    EXPECT_EQ(ReadProfileInt("n", "empty", 9, path), 9);
    EXPECT_EQ(ReadProfileInt(L"n", L"negative", 0, path), -3);
    EXPECT_EQ(ReadProfileInt("n", "big", 0, path), 2);
}

TEST(ProfileFile, BufferSizeCutsLongValues) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "b.ini";
    WriteFile(path, "[a]\nk=abcdef\n");
    EXPECT_EQ(ReadProfileString("a", "k", "", path, 4), "abc");
    EXPECT_EQ(ReadProfileString(L"a", L"k", L"", path, 7), L"abcdef");
    EXPECT_EQ(ReadProfileString("a", "missing", "defaultvalue", path, 5), "defa");
}

TEST(ProfileFile, WideTextRoundTripsThroughGb18030Bytes) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "Config.cfg";
    const std::wstring background = L"/home/用户/背景 图片\U0001F600.jpg";
    ASSERT_TRUE(WriteProfileString(L"Theme", L"BackGround", background, path));
    EXPECT_EQ(ReadProfileString(L"theme", L"background", L"", path), background);
    // The bytes in the file are GB18030, and the 8-bit read returns them unchanged.
    EXPECT_EQ(ReadFile(path), "[Theme]\nBackGround=" + WideToGb18030(background) + "\n");
    EXPECT_EQ(ReadProfileString("Theme", "BackGround", "", path), WideToGb18030(background));

    ASSERT_TRUE(WriteProfileString(L"热门", L"名字", L"京城81号", path));
    EXPECT_EQ(ReadProfileString(L"热门", L"名字", L"", path), L"京城81号");
}

TEST(ProfileFile, WritingAKeyKeepsEveryOtherByte) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "Config.cfg";
    const std::string before =
        "; written by hand\r\n"
        "[BaseSet]\r\n"
        "  AutoStart =   5  \r\n"
        "PosX=10\r\n"
        "\r\n"
        "[Theme]\r\n"
        "BackGround=\xB1\xB3\xBE\xB0.jpg";  // no final line end
    WriteFile(path, before);

    ASSERT_TRUE(WriteProfileString("baseset", "autostart", "1", path));
    const std::string afterFirst =
        "; written by hand\r\n[BaseSet]\r\nautostart=1\r\nPosX=10\r\n\r\n[Theme]\r\n"
        "BackGround=\xB1\xB3\xBE\xB0.jpg";
    EXPECT_EQ(ReadFile(path), afterFirst);

    ASSERT_TRUE(WriteProfileString("BaseSet", "PosY", "-4", path));
    EXPECT_EQ(ReadFile(path),
              "; written by hand\r\n[BaseSet]\r\nautostart=1\r\nPosX=10\r\nPosY=-4\r\n\r\n"
              "[Theme]\r\nBackGround=\xB1\xB3\xBE\xB0.jpg");

    ASSERT_TRUE(WriteProfileString("Local", "AppPath", "/opt/trovik", path));
    EXPECT_EQ(ReadProfileString("Theme", "BackGround", "", path), "\xB1\xB3\xBE\xB0.jpg");
    EXPECT_EQ(ReadProfileString("Local", "AppPath", "", path), "/opt/trovik");
    EXPECT_EQ(ReadProfileInt("BaseSet", "AutoStart", 0, path), 1);
}

TEST(ProfileFile, CreatesTheFileButNotItsFolder) {
    testsupport::IsolatedEnv env;
    const std::string fresh = env.root() / "Config.cfg";
    ASSERT_TRUE(WriteProfileString("Local", "WindowText", "Trovik", fresh));
    EXPECT_EQ(ReadFile(fresh), "[Local]\nWindowText=Trovik\n");

    const std::string inMissingFolder = env.root() / "missing/Config.cfg";
    EXPECT_FALSE(WriteProfileString("Local", "WindowText", "Trovik", inMissingFolder));
    EXPECT_FALSE(WriteProfileString(L"Local", L"WindowText", L"Trovik", inMissingFolder));
    struct stat info {};
    EXPECT_NE(stat((env.root() / "missing").c_str(), &info), 0);
}

TEST(ProfileFile, RefusesWritesThatWouldBreakTheFile) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "c.ini";
    const std::string before = "[a]\nk=v\n";
    WriteFile(path, before);
    EXPECT_FALSE(WriteProfileString("a", "k", "two\nlines", path));
    EXPECT_FALSE(WriteProfileString("a", "k=x", "v", path));
    EXPECT_FALSE(WriteProfileString("a]b", "k", "v", path));
    EXPECT_FALSE(WriteProfileString("", "k", "v", path));
    EXPECT_FALSE(WriteProfileString("a", "", "v", path));
    EXPECT_FALSE(WriteProfileString("a", ";k", "v", path));
    EXPECT_EQ(ReadFile(path), before);

    // A path that is not a readable file is left alone.
    const std::string folder = env.root() / "folder.ini";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_FALSE(WriteProfileString("a", "k", "v", folder));
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST(ProfileFile, KeepsPermissionsAndLinksAndLeavesNoTemporaryFiles) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "perm.ini";
    WriteFile(path, "[a]\nk=1\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteProfileString("a", "k", "2", path));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    if (geteuid() == 0) {
        // A root process writing a user's file leaves it the user's.
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
        ASSERT_TRUE(WriteProfileString("a", "k", "2", path));
        ASSERT_TRUE(WriteProfileString("a", "k", "3", path));
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
        ASSERT_TRUE(WriteProfileString("a", "k", "2", path));
    }

    const std::string link = env.root() / "link.ini";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteProfileString("a", "j", "3", link));
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFile(path), "[a]\nk=2\nj=3\n");

    const mode_t old = umask(022);
    const std::string fresh = env.root() / "fresh.ini";
    const bool written = WriteProfileString("a", "k", "v", fresh);
    umask(old);
    ASSERT_TRUE(written);
    ASSERT_EQ(stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);

    std::vector<std::string> names;
    DIR* dir = opendir(env.root().path().c_str());
    while (dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "config", "data", "fresh.ini", "home",
                                               "link.ini", "perm.ini", "runtime", "tmp"}));
}

TEST(ProfileFile, ConcurrentWritersFromSeveralProcessesLoseNothing) {
    testsupport::IsolatedEnv env;
    const std::string path = env.root() / "Config.cfg";
    WriteFile(path, "; shared by several writers\n[Keys]\n");
    constexpr int kKeysEach = 150;
    platformtest::ChildProcess first(
        {platformtest::HelperPath(), "write-keys", path, "first", std::to_string(kKeysEach)});
    platformtest::ChildProcess second(
        {platformtest::HelperPath(), "write-keys", path, "second", std::to_string(kKeysEach)});
    // This process writes its own keys at the same time.
    int failures = 0;
    for (int i = 0; i < kKeysEach; ++i)
        if (!WriteProfileString("Keys", "third" + std::to_string(i), std::to_string(i), path))
            ++failures;
    EXPECT_EQ(failures, 0);
    for (platformtest::ChildProcess* child : {&first, &second}) {
        auto status = child->Wait(std::chrono::seconds(60));
        ASSERT_TRUE(status.has_value());
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    }

    for (int i = 0; i < kKeysEach; ++i) {
        const std::string n = std::to_string(i);
        const std::wstring expected =
            i % 2 == 0 ? L"value " + std::to_wstring(i) : L"值 " + std::to_wstring(i);
        EXPECT_EQ(ReadProfileString(L"Keys", Utf8ToWide("first" + n), L"", path), expected);
        EXPECT_EQ(ReadProfileString(L"Keys", Utf8ToWide("second" + n), L"", path), expected);
        EXPECT_EQ(ReadProfileInt("Keys", "third" + n, -1, path), i);
    }
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.rfind("; shared by several writers\n[Keys]\n", 0), 0u);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2 + 3 * kKeysEach);
}

}  // namespace
}  // namespace platform

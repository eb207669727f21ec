// Manifests: the byte format, the folder walk, the comparison and the names a server
// manifest may hold.

#include <gtest/gtest.h>
#include <json/value.h>

#include <filesystem>

#include "tools/testsupport/TempDir.h"
#include "updater/FileDigest.h"
#include "updater/LocalManifest.h"
#include "updater/ManifestJson.h"
#include "updater/ManifestNames.h"
#include "updater/UpdateList.h"
#include "updater/UpdaterConfig.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

constexpr char kMd5Empty[] = "d41d8cd98f00b204e9800998ecf8427e";
constexpr char kMd5Abc[] = "900150983cd24fb0d6963f7d28e17f72";  // "abc"

Json::Value File(const std::string& name, const std::string& md5) {
    Json::Value file;
    file["name"] = name;
    file["MD5"] = md5;
    return file;
}

Json::Value Folder(const std::string& name, std::vector<Json::Value> files,
                   std::vector<Json::Value> subdirs = {}) {
    Json::Value node;
    node["name"] = name;
    for (auto& f : files) node["files"].append(f);
    for (auto& d : subdirs) node["subdirs"].append(d);
    return node;
}

std::vector<UpdateItem> Compare(const Json::Value& server, const Json::Value& local) {
    testsupport::TempDir dir;
    WriteFile(dir / "server.json", WriteFastJson(server));
    WriteFile(dir / "local.json", WriteFastJson(local));
    std::vector<UpdateItem> list{UpdateItem{}};  // emptied first
    ComputeUpdateList(dir / "server.json", dir / "local.json",
                      {"/stage/UpdateDir", "http://h/p/Trovik/stable/"}, list);
    return list;
}

std::vector<std::string> Urls(const std::vector<UpdateItem>& list) {
    std::vector<std::string> urls;
    for (const auto& item : list) urls.push_back(item.url);
    return urls;
}

TEST(ManifestFormat, WriterKeepsFastWriterBytesAndAnsiNames) {
    // Sorted member names, no spaces, control characters escaped, "/" and GB18030 bytes
    // unchanged except a 0x5C second byte, escaped like every backslash byte (the reader
    // restores it), one line feed.
    Json::Value root = Folder("Trovik", {File("\xb1\xed\x95\x5c.txt", kMd5Abc)},
                              {Folder("Sub", {}), Folder("a\"b\\c\n\x01/", {})});
    root["success"] = 1;
    EXPECT_EQ(
        WriteFastJson(root),
        "{\"files\":[{\"MD5\":\"900150983cd24fb0d6963f7d28e17f72\",\"name\":\"\xb1\xed\x95\\\\."
        "txt\"}],\"name\":\"Trovik\",\"subdirs\":[{\"name\":\"Sub\"},{\"name\":\"a\\\"b\\\\c\\n"
        "\\u0001/\"}],\"success\":1}\n");

    // And reading gives the same bytes back.
    testsupport::TempDir dir;
    WriteFile(dir / "m.json", WriteFastJson(root));
    Json::Value read;
    ASSERT_TRUE(ReadJsonFile(dir / "m.json", read));
    EXPECT_EQ(read, root);
}

TEST(ManifestFormat, ReadingIsBounded) {
    testsupport::TempDir dir;
    Json::Value value;
    WriteFile(dir / "big.json", "[" + std::string(100, ' ') + "]");
    EXPECT_FALSE(ReadJsonFile(dir / "big.json", value, 101));
    EXPECT_TRUE(ReadJsonFile(dir / "big.json", value, 102));  // exactly the limit
    std::string deep = std::string(kMaxJsonDepth + 10, '[') + std::string(kMaxJsonDepth + 10, ']');
    WriteFile(dir / "deep.json", deep);
    EXPECT_FALSE(ReadJsonFile(dir / "deep.json", value));
    EXPECT_TRUE(value.isNull());
    WriteFile(dir / "bad.json", "{\"name\":");
    EXPECT_FALSE(ReadJsonFile(dir / "bad.json", value));
    EXPECT_FALSE(ReadJsonFile(dir / "missing.json", value));
    EXPECT_FALSE(ReadJsonFile(dir.path().string(), value));  // a folder
}

TEST(LocalManifest, WalksTheInstallationWithDigestsAndExclusions) {
    testsupport::TempDir dir;
    const fs::path app = dir.path() / "安装";
    fs::create_directories(app / "Skin" / "Empty");
    WriteFile(app / "abc.txt", "abc");
    WriteFile(app / "Update.txt", "top-level copy of the server manifest: left out");
    WriteFile(app / "Skin" / "Update.txt", "");
    WriteFile(app / "Skin" / "说明.txt", "");
    fs::create_symlink(app / "Skin", app / "Skin" / "loop");  // not followed

    UpdaterConfig config;
    config.localManifestPath = (dir.path() / "out" / "LocalUpdate.json").string();
    config.userConfigPath = (app / "Config.cfg").string();
    WriteFile(config.userConfigPath, "[Version]\r\nVer=1\r\n");

    for (const std::string appName : {"Trovik", ""}) {
        config.appName = appName;
        ASSERT_TRUE(WriteLocalManifest(config, app.string() + "/"));
        Json::Value root;
        ASSERT_TRUE(ReadJsonFile(config.localManifestPath, root));
        EXPECT_EQ(ReadFile(config.localManifestPath), WriteFastJson(root));
        // The root is named after AppName, else after the folder (in the ANSI code page).
        EXPECT_EQ(root["name"].asString(), appName.empty() ? "\xb0\xb2\xd7\xb0" : appName);
        ASSERT_EQ(root["files"].size(), 1u);  // not Config.cfg, not the top Update.txt
        EXPECT_EQ(root["files"][0], File("abc.txt", kMd5Abc));
        ASSERT_EQ(root["subdirs"].size(), 1u);
        const Json::Value& skin = root["subdirs"][0];
        EXPECT_EQ(skin["name"].asString(), "Skin");
        EXPECT_EQ(skin["files"].size(), 2u);
        ASSERT_EQ(skin["subdirs"].size(), 1u);
        EXPECT_EQ(skin["subdirs"][0], Folder("Empty", {}));  // only "name"
        std::vector<Json::Value> expected = {File("Update.txt", kMd5Empty),
                                             File("\xcb\xb5\xc3\xf7.txt", kMd5Empty)};
        for (const auto& file : expected)
            EXPECT_NE(std::find(skin["files"].begin(), skin["files"].end(), file),
                      skin["files"].end());
    }
}

TEST(UpdateList, ComparisonEdgeCases) {
    const Json::Value local = Folder("Trovik",
                                     {File("same.txt", kMd5Abc), File("changed.txt", kMd5Abc),
                                      File("upper.txt", kMd5Abc), File("localonly.txt", kMd5Abc)},
                                     {Folder("Skin", {File("a.png", kMd5Abc)})});
    std::string upper = kMd5Abc;
    for (char& c : upper) c = static_cast<char>(std::toupper(c));
    const Json::Value server = Folder(
        "Trovik",
        {File("same.txt", kMd5Abc), File("changed.txt", kMd5Empty), File("upper.txt", upper),
         File("new.txt", kMd5Abc), File("CONFIG.CFG", kMd5Empty), File("version.TXT", kMd5Empty)},
        {Folder("Skin", {File("a.png", kMd5Abc), File("Config.cfg", kMd5Empty)},
                {Folder("\xc9\xee \xb2\xe3", {File("b c#.png", kMd5Abc)})})});

    const std::vector<UpdateItem> list = Compare(server, local);
    EXPECT_EQ(Urls(list), (std::vector<std::string>{
                              "http://h/p/Trovik/stable/changed.txt",
                              "http://h/p/Trovik/stable/upper.txt",
                              "http://h/p/Trovik/stable/new.txt",
                              "http://h/p/Trovik/stable/Skin/%C9%EE%20%B2%E3/b%20c%23.png",
                          }));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].localPath, "/stage/UpdateDir/changed.txt");
    EXPECT_EQ(list[0].md5, kMd5Empty);
    EXPECT_EQ(list[0].fileName, "changed.txt");
    EXPECT_EQ(list[0].ready, 1);
    EXPECT_EQ(list[3].localPath, "/stage/UpdateDir/Skin/深 层/b c#.png");

    // Another root name: nothing matches, every file but the two excluded is listed.
    const Json::Value renamed = Folder("Other", {File("same.txt", kMd5Abc)});
    EXPECT_EQ(Compare(renamed, local).size(), 1u);
    // No local manifest at all: the same.
    EXPECT_EQ(Compare(server, Json::Value()).size(), 6u);
}

TEST(UpdateList, AHostileOrDamagedManifestIsRefusedWhole) {
    const Json::Value local = Folder("Trovik", {});
    const Json::Value good = File("good.txt", kMd5Abc);
    auto withFile = [&](const Json::Value& bad) { return Folder("Trovik", {good, bad}); };
    auto withFolder = [&](const std::string& name) {
        return Folder("Trovik", {good}, {Folder(name, {File("x", kMd5Abc)})});
    };
    ASSERT_EQ(Compare(withFile(File("ok.txt", kMd5Abc)), local).size(), 2u);

    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "a/b", "..\\x", "a\\b", std::string("a\0b", 3),
                                  std::string("\xff\xff")}) {
        EXPECT_TRUE(Compare(withFile(File(name, kMd5Abc)), local).empty()) << name;
        EXPECT_TRUE(Compare(withFolder(name), local).empty()) << name;
        EXPECT_TRUE(Compare(Folder(name, {good}), local).empty()) << name;
    }
    EXPECT_TRUE(Compare(withFile(File(std::string(256, 'a'), kMd5Abc)), local).empty());
    EXPECT_FALSE(Compare(withFile(File(std::string(255, 'a'), kMd5Abc)), local).empty());
    // A GB18030 character whose second byte is 0x5C is a name, not a separator.
    EXPECT_EQ(Compare(withFile(File("\x95\x5c.txt", kMd5Abc)), local).size(), 2u);

    // Damaged structure or digests.
    EXPECT_TRUE(Compare(withFile(File("a.txt", "")), local).empty());
    EXPECT_TRUE(Compare(withFile(File("a.txt", std::string(32, 'g'))), local).empty());
    // A "SHA256" member, where present, must be a SHA-256 digest.
    Json::Value badSha = withFile(good);
    badSha["files"][1]["SHA256"] = kMd5Abc;
    EXPECT_TRUE(Compare(badSha, local).empty());
    badSha["files"][1]["SHA256"] = std::string(64, 'a');
    EXPECT_EQ(Compare(badSha, local).size(), 2u);
    EXPECT_EQ(Compare(badSha, local)[1].sha256, std::string(64, 'a'));
    Json::Value numberName = withFile(good);
    numberName["files"][1]["name"] = 7;
    EXPECT_TRUE(Compare(numberName, local).empty());
    Json::Value filesObject = Folder("Trovik", {});
    filesObject["files"]["x"] = good;
    EXPECT_TRUE(Compare(filesObject, local).empty());
    EXPECT_TRUE(Compare(Json::Value("Trovik"), local).empty());

    // Too many entries.
    Json::Value many = Folder("Trovik", {});
    for (size_t i = 0; i < kMaxManifestEntries; ++i) many["files"].append(good);
    EXPECT_TRUE(Compare(many, local).empty());
}

TEST(UpdateList, DigestsAndNames) {
    EXPECT_TRUE(IsMd5Hex(kMd5Abc));
    EXPECT_FALSE(IsMd5Hex(std::string(kMd5Abc) + "0"));
    EXPECT_TRUE(SameDigest("ABCDEF0123456789abcdef0123456789", "abcdef0123456789ABCDEF0123456789"));
    EXPECT_FALSE(SameDigest("", ""));
    const std::string sha256(64, 'A');
    EXPECT_TRUE(IsSha256Hex(sha256));
    EXPECT_FALSE(IsSha256Hex(kMd5Abc));
    EXPECT_TRUE(IsExpectedDigest({kMd5Abc, ""}));
    EXPECT_TRUE(IsExpectedDigest({kMd5Abc, sha256}));
    EXPECT_FALSE(IsExpectedDigest({kMd5Abc, kMd5Abc}));
    EXPECT_FALSE(IsExpectedDigest({"", sha256}));
    EXPECT_TRUE(IsNeverFetchedName("vErSiOn.TxT"));
    EXPECT_FALSE(IsNeverFetchedName("Config.cfg.bak"));

    testsupport::TempDir dir;
    WriteFile(dir / "abc", "abc");
    EXPECT_EQ(FileMd5Hex(dir / "abc"), kMd5Abc);
    std::string big(3 * 1024 * 1024 + 7, 'x');  // more than one read
    WriteFile(dir / "big", big);
    Md5Digest md5;
    md5.Update(big.data(), big.size());
    EXPECT_EQ(FileMd5Hex(dir / "big"), md5.FinishHex());
    EXPECT_EQ(FileMd5Hex(dir / "missing"), "");
    EXPECT_EQ(FileMd5Hex(dir.path().string()), "");
}

}  // namespace

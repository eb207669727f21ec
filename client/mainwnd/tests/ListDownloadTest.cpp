// The list download against a loopback update server: the first run takes the
// server's lists over, later runs only when an image is new or a link changed, hostile
// image names are refused, and a leftover "DownLoad.cfg" never replaces a fresh list.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "client/mainwnd/ListDownload.h"
#include "client/mainwnd/ListImages.h"
#include "platform/CodePage.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

// A hot list in the file format: entries of {image, name, link}.
std::string HotList(const std::vector<std::array<std::string, 3>>& entries) {
    std::string text = "[HotLst]\r\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string n = std::to_string(i);
        text += "ImgName" + n + "=" + entries[i][0] + "\r\nHotName" + n + "=" + entries[i][1] +
                "\r\nHotUrl" + n + "=" + entries[i][2] + "\r\n";
    }
    return text;
}

class ListDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_.server().Get(R"(/u/(.*))",
                             [this](const httplib::Request& req, httplib::Response& res) {
                                 std::lock_guard<std::mutex> lock(mutex_);
                                 const auto it = files_.find(req.matches[1].str());
                                 if (it == files_.end()) {
                                     res.status = 404;
                                     return;
                                 }
                                 res.set_content(it->second, "application/octet-stream");
                             });
        server_.Start();
        job_ = ListDownloadJob{data_ + "/", server_.url("/u/Hot/"), server_.url("/u/LinkSite/")};
        ServeHot(
            HotList({{"Hot01.jpg", "城南旧事录", "http://127.0.0.1:18632/detail/2002.html"},
                     {"Hot02.jpg", "云端上的月亮", "http://127.0.0.1:18632/detail/2003.html"}}));
        Serve("Hot/Hot01.jpg", "image one");
        Serve("Hot/Hot02.jpg", "image two");
        Serve("LinkSite/LinkSite.cfg",
              "[LinkSite]\r\nImgName0=Site01.png\r\nDescript0=a\r\nLinkUrl0=http://x/1/\r\n");
        Serve("LinkSite/Site01.png", "logo");
    }

    void Serve(const std::string& path, const std::string& bytes) {
        std::lock_guard<std::mutex> lock(mutex_);
        files_[path] = bytes;
    }
    void ServeHot(const std::string& list) { Serve("Hot/Hot.cfg", list); }

    // GET requests of the run, without the HEAD probes.
    std::vector<std::string> Gets() const {
        std::vector<std::string> gets;
        for (const std::string& line : server_.requests()) {
            if (line.rfind("GET ", 0) == 0) gets.push_back(line.substr(4));
        }
        return gets;
    }
    std::string Hot(const std::string& name) const { return data_ + "/Hot/" + name; }

    testsupport::IsolatedEnv env_;
    testsupport::LoopbackServer server_;
    std::string data_ = env_.dataHome() + "/Trovik";
    ListDownloadJob job_;
    std::mutex mutex_;
    std::map<std::string, std::string> files_;
};

TEST_F(ListDownloadTest, FirstRunTakesTheServersListsEvenOverALeftoverDownLoadCfg) {
    // A "DownLoad.cfg" of an earlier, interrupted run, and the partial files that run
    // left when it was killed (its process id no longer runs).
    WriteFile(Hot("DownLoad.cfg"), HotList({{"Old.jpg", "旧", "http://old/"}}));
    WriteFile(Hot(".Hot01.jpg.4194305-0123456789abcdef.trovik-tmp"), "half a picture");
    WriteFile(Hot(".Hot.cfg.4194305-0123456789abcdef.trovik-tmp"), "half a list");
    const ListChanges changes = DownloadLists(job_);
    EXPECT_TRUE(changes.hot);
    EXPECT_TRUE(changes.link);
    EXPECT_EQ(ReadFile(Hot("Hot.cfg")), files_["Hot/Hot.cfg"]);
    EXPECT_EQ(ReadFile(Hot("Hot01.jpg")), "image one");
    EXPECT_EQ(ReadFile(Hot("Hot02.jpg")), "image two");
    EXPECT_EQ(ReadFile(data_ + "/LinkSite/LinkSite.cfg"), files_["LinkSite/LinkSite.cfg"]);
    EXPECT_EQ(ReadFile(data_ + "/LinkSite/Site01.png"), "logo");
    // Nothing half-written is left behind.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(data_ + "/Hot"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"DownLoad.cfg", "Hot.cfg", "Hot01.jpg", "Hot02.jpg"}));
}

TEST_F(ListDownloadTest, SameLinksWithTheirImagesKeepTheCachedListWhateverTheNames) {
    ASSERT_TRUE(DownloadLists(job_).hot);
    // The server renames its shows and spells a link's host in capitals.
    const std::string cached = ReadFile(Hot("Hot.cfg"));
    ServeHot(HotList({{"Hot01.jpg", "新名字", "HTTP://127.0.0.1:18632/detail/2002.html"},
                      {"Hot02.jpg", "另一个", "http://127.0.0.1:18632/detail/2003.html"}}));
    Serve("Hot/Hot01.jpg", "changed picture");
    const size_t before = Gets().size();
    const ListChanges changes = DownloadLists(job_);
    EXPECT_FALSE(changes.hot);
    EXPECT_FALSE(changes.link);
    EXPECT_EQ(ReadFile(Hot("Hot.cfg")), cached);
    EXPECT_EQ(ReadFile(Hot("Hot01.jpg")), "image one");
    // Only the two lists were fetched.
    const std::vector<std::string> gets = Gets();
    EXPECT_EQ(
        std::vector<std::string>(gets.begin() + static_cast<std::ptrdiff_t>(before), gets.end()),
        (std::vector<std::string>{"/u/Hot/Hot.cfg", "/u/LinkSite/LinkSite.cfg"}));
}

TEST_F(ListDownloadTest, AChangedLinkOrAMissingImageTakesTheListOver) {
    ASSERT_TRUE(DownloadLists(job_).hot);
    const std::string changedLink =
        HotList({{"Hot01.jpg", "城南旧事录", "http://127.0.0.1:18632/detail/2002.html"},
                 {"Hot02.jpg", "云端上的月亮", "http://127.0.0.1:18632/detail/3001.html"}});
    ServeHot(changedLink);
    Serve("Hot/Hot02.jpg", "new image two");
    ListChanges changes = DownloadLists(job_);
    EXPECT_TRUE(changes.hot);
    EXPECT_FALSE(changes.link);
    EXPECT_EQ(ReadFile(Hot("Hot.cfg")), changedLink);
    EXPECT_EQ(ReadFile(Hot("Hot02.jpg")), "new image two");
    EXPECT_EQ(ReadFile(Hot("Hot01.jpg")), "image one");  // its link is the same

    fs::remove(Hot("Hot01.jpg"));
    changes = DownloadLists(job_);
    EXPECT_TRUE(changes.hot);
    EXPECT_EQ(ReadFile(Hot("Hot01.jpg")), "image one");

    // A list the server cannot deliver changes nothing.
    {
        std::lock_guard<std::mutex> lock(mutex_);
        files_.erase("Hot/Hot.cfg");
        files_["LinkSite/LinkSite.cfg"] = std::string(kListFileMaxBytes + 1, ';');
    }
    changes = DownloadLists(job_);
    EXPECT_FALSE(changes.hot);
    EXPECT_FALSE(changes.link);
    EXPECT_EQ(ReadFile(Hot("Hot.cfg")), changedLink);
    EXPECT_NE(ReadFile(data_ + "/LinkSite/LinkSite.cfg").size(), kListFileMaxBytes + 1);
}

TEST_F(ListDownloadTest, HostileImageNamesAreNeitherFetchedNorWritten) {
    std::string list = platform::Utf8ToGb18030(HotList({{"../escape.jpg", "a", "http://a/"},
                                                        {"", "b", "http://b/"},
                                                        {"..\\escape.jpg", "c", "http://c/"},
                                                        {"sub/x.jpg", "d", "http://d/"},
                                                        {"海报 1.jpg", "e", "http://e/"}}));
    // A NUL byte inside a name.
    list.insert(list.find("ImgName1=") + 9, std::string("x\0y", 3));
    ServeHot(list);
    Serve("escape.jpg", "outside");
    Serve("Hot/sub/x.jpg", "nested");
    Serve("Hot/x", "cut at the NUL");
    Serve("Hot/海报 1.jpg", "poster");
    EXPECT_TRUE(DownloadLists(job_).hot);
    // The list's GB18030 name is a UTF-8 file name here and on the server.
    EXPECT_EQ(ReadFile(Hot("海报 1.jpg")), "poster");
    for (const std::string& get : Gets()) {
        EXPECT_TRUE(get == "/u/Hot/Hot.cfg" || get == "/u/Hot/%E6%B5%B7%E6%8A%A5%201.jpg" ||
                    get.rfind("/u/LinkSite/", 0) == 0)
            << get;
    }
    EXPECT_FALSE(fs::exists(data_ + "/escape.jpg"));
    EXPECT_FALSE(fs::exists(Hot("sub")));

    for (const char* name : {"", ".", "..", "a/b", "a\\b", "it's", "say \"hi\""})
        EXPECT_FALSE(IsUsableImageName(std::string(name))) << name;
    EXPECT_FALSE(IsUsableImageName(std::string("a\0b", 3)));
    for (const char* name : {"Hot01.jpg", "...", ".hidden", "海报 1.png"})
        EXPECT_TRUE(IsUsableImageName(std::string(name))) << name;
}

}  // namespace

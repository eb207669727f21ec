// The poster cache in the temporary folder: download once, share by file name, and
// never a file name that leaves the folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "client/mainwnd/PosterCache.h"
#include "client/mainwnd/ResultPresenter.h"
#include "platform/CodePage.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"

namespace {

TEST(PosterCacheTest, NameIsTheLastPathPartWithoutQuery) {
    EXPECT_EQ(PosterCacheName("http://h/img/poster/1001.jpg"), "1001.jpg");
    EXPECT_EQ(PosterCacheName("http://h/a/b.png?x=1/2"), "2");
    EXPECT_EQ(PosterCacheName("http://h/a/b.png?size=big"), "b.png");
    EXPECT_EQ(PosterCacheName("plain.jpg"), "plain.jpg");
}

TEST(PosterCacheTest, NamesThatCouldLeaveTheFolderAreRefused) {
    EXPECT_EQ(PosterCacheName(""), "");
    EXPECT_EQ(PosterCacheName("http://h/img/"), "");
    EXPECT_EQ(PosterCacheName("http://h/img/?a"), "");
    EXPECT_EQ(PosterCacheName("http://h/img/.."), "");
    EXPECT_EQ(PosterCacheName("http://h/img/."), "");
    EXPECT_EQ(PosterCacheName("http://h/img/..?x"), "");
    EXPECT_EQ(PosterCacheName("http://h/img/..\\..\\evil.jpg"), "");
    EXPECT_EQ(PosterCacheName("http://h/img/a'b.jpg"), "");
    EXPECT_EQ(PosterCacheName(std::string("http://h/img/a\0b.jpg", 21)), "");
    EXPECT_EQ(PosterCacheName(".."), "");
}

class PosterFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get(R"(/(\w+)/(.+))",
                            [](const httplib::Request& req, httplib::Response& res) {
                                res.set_content("poster of " + req.path, "image/jpeg");
                            });
        server.Start();
    }
    testsupport::IsolatedEnv env;
    testsupport::LoopbackServer server;
};

TEST_F(PosterFileTest, DownloadsOnceIntoTheTemporaryFolderAndSharesByName) {
    const std::wstring first = PosterFile(server.url("/a/p1.jpg"));
    ASSERT_EQ(first, platform::Utf8ToWide(env.tmpDir() + "/p1.jpg"));
    EXPECT_EQ(testsupport::ReadFile(env.tmpDir() + "/p1.jpg"), "poster of /a/p1.jpg");
    const size_t afterFirst = server.requestCount();
    EXPECT_GT(afterFirst, 0u);

    // Cached: no request at all, the same file.
    EXPECT_EQ(PosterFile(server.url("/a/p1.jpg")), first);
    // Another URL ending in the same name shares the cached file.
    EXPECT_EQ(PosterFile(server.url("/b/p1.jpg?v=2")), first);
    EXPECT_EQ(server.requestCount(), afterFirst);
    EXPECT_EQ(testsupport::ReadFile(env.tmpDir() + "/p1.jpg"), "poster of /a/p1.jpg");
}

TEST_F(PosterFileTest, FailedDownloadAndUnsafeNamesGiveNoPoster) {
    EXPECT_EQ(PosterFile(""), L"");
    EXPECT_EQ(PosterFile("http://127.0.0.1:1/x/none.jpg"), L"");
    EXPECT_FALSE(std::filesystem::exists(env.tmpDir() + "/none.jpg"));
    const size_t before = server.requestCount();
    EXPECT_EQ(PosterFile(server.url("/a/..")), L"");
    EXPECT_EQ(PosterFile(server.url("/a/..\\..\\x.jpg")), L"");
    EXPECT_EQ(server.requestCount(), before);  // refused before any request
    // Nothing was written next to the temporary folder.
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::path(env.tmpDir()).parent_path() / "x.jpg"));
}

}  // namespace

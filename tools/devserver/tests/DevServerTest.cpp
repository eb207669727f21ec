#include <httplib.h>

#include <gtest/gtest.h>

#include "tools/testsupport/ChildPrograms.h"
#include "tools/testsupport/TempDir.h"
#include "tools/testsupport/WaitFor.h"

namespace testsupport {
namespace {

using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WaitFor;
using testsupport::WriteFile;

class DevServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir_.path() / "root" / "index.html",
                  "<a href=\"http://127.0.0.1:18632/detail/1.html\">x</a>");
        WriteFile(dir_.path() / "root" / "search_%B7%E7" / "index.html", "wind");
        WriteFile(dir_.path() / "root" / "img" / "p.png", std::string("\x89PNG\0\1", 6));
    }
    std::string root() const { return dir_ / "root"; }
    std::string logPath() const { return dir_ / "requests.log"; }
    TempDir dir_;
};

TEST_F(DevServerTest, ServesFilesByRawPathAndLogsEveryRequest) {
    DevServerProcess server({"--root", root(), "--log", logPath()});
    httplib::Client client("127.0.0.1", server.port());

    auto page = client.Get("/search_%B7%E7/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->body, "wind");

    // Links to the default address point at the port actually taken.
    auto home = client.Get("/?from=test");
    ASSERT_TRUE(home);
    EXPECT_EQ(home->body, "<a href=\"http://" + server.hostPort() + "/detail/1.html\">x</a>");

    auto image = client.Get("/img/p.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->body, std::string("\x89PNG\0\1", 6));
    EXPECT_EQ(image->get_header_value("Content-Type"), "image/png");

    auto missing = client.Get("/nothing.html");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);

    auto escape = client.Get("/../requests.log");
    ASSERT_TRUE(escape);
    EXPECT_EQ(escape->status, 404);

    auto ping = client.Get("/liveness.php?type=1&guid=abc");
    ASSERT_TRUE(ping);
    EXPECT_EQ(ping->body, "ok");

    const std::string expected =
        "GET /search_%B7%E7/\nGET /?from=test\nGET /img/p.png\nGET /nothing.html\n"
        "GET /../requests.log\nGET /liveness.php?type=1&guid=abc\n";
    EXPECT_TRUE(WaitFor([&] { return ReadFile(logPath()) == expected; })) << ReadFile(logPath());
}

TEST_F(DevServerTest, HeadGivesTheLengthWithoutABody) {
    DevServerProcess server({"--root", root()});
    httplib::Client client("127.0.0.1", server.port());
    auto head = client.Head("/search_%B7%E7/");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
    EXPECT_EQ(head->get_header_value("Content-Length"), "4");
    EXPECT_TRUE(head->body.empty());
}

TEST(DevServerSampleSites, ServeTheClientsSampleLinksAndPosters) {
    DevServerProcess server;  // the bundled sample sites
    httplib::Client client("127.0.0.1", server.port());
    for (const char* path :
         {"/detail/27553.html", "/zongyi/zy_96/",
          "/search_%E6%B2%89%E7%9D%A1%E9%AD%94%E5%92%92_%E5%85%A8%E9%83%A8/",
          "/search_%E4%BA%AC%E5%9F%8E81/", "/detail/39244.html", "/detail/28029.html",
          "/img/poster/2001.jpg", "/img/site/qingyou.png", "/play/?v=2001-qingyou-1", "/"}) {
        auto res = client.Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->status, 200) << path;
        EXPECT_FALSE(res->body.empty()) << path;
    }
}

TEST_F(DevServerTest, RejectsBadArgumentsAndBusyPorts) {
    EXPECT_EQ(RunProgram(BinPath("devserver"), {"--port", "x"}).exitCode, 2);
    EXPECT_EQ(RunProgram(BinPath("devserver"), {"--what", "1"}).exitCode, 2);
    DevServerProcess server({"--root", root()});
    const ProgramResult busy =
        RunProgram(BinPath("devserver"), {"--port", std::to_string(server.port())}, {},
                   std::chrono::seconds(20));
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_NE(busy.err.find("cannot listen"), std::string::npos);
}

}  // namespace
}  // namespace testsupport

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/HttpGetText.h"
#include "tools/testsupport/LoopbackServer.h"

namespace {

using Strings = std::vector<std::string>;

class HttpGetTextTest : public ::testing::Test {
protected:
    void Serve(std::string body, int status = 200) {
        server_.server().Get(
            ".*", [this, body, status](const httplib::Request& req, httplib::Response& res) {
                std::lock_guard<std::mutex> lock(mutex_);
                agents_.push_back(req.get_header_value("User-Agent"));
                texts_.push_back(req.get_param_value("text"));
                res.status = status;
                res.set_content(body, "text/plain");
            });
        server_.Start();
    }

    testsupport::LoopbackServer server_;
    std::mutex mutex_;
    Strings agents_;
    Strings texts_;
};

TEST_F(HttpGetTextTest, SendsTheObjectNameAsItIs) {
    Serve("ok");
    // GB18030 bytes of 京城 stay raw; the "|" of the adapter list too.
    const std::string query =
        "liveness.php?macid=00:1A:2B:3C:4D:5E|66:77:88:99:AA:BB&ver=1.0.1.102&osver=Debian"
        "&text=\xBE\xA9\xB3\xC7&type=1&guid=&chid=";
    EXPECT_EQ(HttpGetText(server_.hostPort(), query), "ok");
    EXPECT_EQ(server_.requests(), (Strings{"GET /" + query}));
    EXPECT_EQ(agents_, (Strings{"User-Agent"}));
}

TEST_F(HttpGetTextTest, BytesARequestLineCannotCarryAreEncoded) {
    Serve("ok");
    EXPECT_EQ(HttpGetText(server_.hostPort(), "liveness.php?text=a b\r\nX: y#1&type=1"), "ok");
    EXPECT_EQ(server_.requests(), (Strings{"GET /liveness.php?text=a%20b%0D%0AX:%20y%231&type=1"}));
    // The server reads back exactly the text that was sent.
    EXPECT_EQ(texts_, (Strings{"a b\r\nX: y#1"}));
}

TEST_F(HttpGetTextTest, ErrorStatusGivesEmptyTextWithoutRetry) {
    Serve("ok", 500);
    EXPECT_EQ(HttpGetText(server_.hostPort(), "liveness.php"), "");
    EXPECT_EQ(server_.requestCount(), 1u);  // no retry
}

TEST_F(HttpGetTextTest, OversizedBodyGivesEmptyText) {
    Serve(std::string(kHttpGetTextLimit + 1, 'x'));
    EXPECT_EQ(HttpGetText(server_.hostPort(), "liveness.php"), "");
}

TEST_F(HttpGetTextTest, BodyAtTheLimitIsReturnedWhole) {
    Serve(std::string(kHttpGetTextLimit, 'y'));
    EXPECT_EQ(HttpGetText(server_.hostPort(), "liveness.php"), std::string(kHttpGetTextLimit, 'y'));
}

TEST(HttpGetText, UnreachableOrEmptyHostGivesEmptyText) {
    int port;
    {
        testsupport::LoopbackServer closed;
        closed.Start();
        port = closed.port();
    }
    EXPECT_EQ(HttpGetText("127.0.0.1:" + std::to_string(port), "liveness.php"), "");
    EXPECT_EQ(HttpGetText("", "liveness.php"), "");
}

}  // namespace

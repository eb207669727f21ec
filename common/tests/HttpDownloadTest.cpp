#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "DownloadTestSupport.h"
#include "IsolatedEnv.h"
#include "LoopbackServer.h"
#include "common/HttpDownload.h"
#include "common/HttpRequest.h"

namespace {

namespace fs = std::filesystem;
using downloadtest::FolderEntries;
using Strings = std::vector<std::string>;

// Answers HEAD with only the headers of a body of `length` bytes (no body follows).
void AnnounceLength(httplib::Response& res, size_t length) {
    res.set_content_provider(length, "application/octet-stream",
                             [](size_t, size_t, httplib::DataSink&) { return false; });
}

// A body of `length` bytes of which only `sent` arrive before the connection closes.
void CutBody(httplib::Response& res, size_t length, size_t sent) {
    res.set_content_provider(length, "application/octet-stream",
                             [sent](size_t, size_t, httplib::DataSink& sink) {
                                 sink.write(std::string(sent, 'x').data(), sent);
                                 return false;
                             });
}

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    return bytes;
}

class HttpDownloadTest : public ::testing::Test {
protected:
    std::string Target(const std::string& name = "file.bin") const {
        return (fs::path(env_.tmpDir()) / name).string();
    }
    Strings Leftovers() const { return FolderEntries(env_.tmpDir()); }

    testsupport::IsolatedEnv env_;
    testsupport::LoopbackServer server_;
};

TEST_F(HttpDownloadTest, HeadLengthAboveLimitIsRefusedWithoutGet) {
    server_.server().Get("/big", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "HEAD")
            AnnounceLength(res, 1'048'576'001);
        else
            res.set_content("small", "text/plain");
    });
    server_.Start();
    EXPECT_FALSE(HttpDownloadFile(server_.url("/big"), Target()));
    EXPECT_EQ(server_.requests(), (Strings{"HEAD /big"}));
    EXPECT_EQ(HttpFetchText(server_.url("/big")), "");
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(HttpDownloadTest, HeadLengthAtLimitIsAccepted) {
    server_.server().Get("/big", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "HEAD")
            AnnounceLength(res, 1'048'576'000);
        else
            res.set_content("small", "text/plain");
    });
    server_.Start();
    ASSERT_TRUE(HttpDownloadFile(server_.url("/big"), Target()));
    EXPECT_EQ(testsupport::ReadFile(Target()), "small");
    EXPECT_EQ(server_.requests(), (Strings{"HEAD /big", "GET /big"}));
    EXPECT_EQ(Leftovers(), (Strings{"file.bin"}));
}

TEST_F(HttpDownloadTest, AnswerWithoutLengthIsDownloaded) {
    server_.server().Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
            if (offset == 0) {
                sink.write("hello ", 6);
                sink.write("chunks", 6);
            }
            sink.done();
            return true;
        });
    });
    server_.Start();

    HttpRequest probe(HttpMethod::Head, server_.url("/chunked"), kHttpAgentName);
    ASSERT_TRUE(SendRequestRetrying(&probe));
    EXPECT_EQ(probe.contentLength(), -1);

    ASSERT_TRUE(HttpDownloadFile(server_.url("/chunked"), Target()));
    EXPECT_EQ(testsupport::ReadFile(Target()), "hello chunks");
    EXPECT_EQ(HttpFetchText(server_.url("/chunked")), "hello chunks");
}

TEST_F(HttpDownloadTest, UrlWithoutPathRequestsRootAndQueryIsKept) {
    server_.server().Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("root", "text/plain");
    });
    server_.server().Get("/p", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("poster", "image/jpeg");
    });
    server_.Start();
    ASSERT_TRUE(HttpDownloadFile("http://" + server_.hostPort(), Target()));
    EXPECT_EQ(testsupport::ReadFile(Target()), "root");
    EXPECT_EQ(HttpFetchText(server_.url("/p?w=120&h=160")), "poster");
    EXPECT_EQ(server_.requests(),
              (Strings{"HEAD /", "GET /", "HEAD /p?w=120&h=160", "GET /p?w=120&h=160"}));
}

TEST_F(HttpDownloadTest, ServerAnswering503GetsTenHeadsAndNoGet) {
    server_.server().Get("/busy", [](const httplib::Request&, httplib::Response& res) {
        res.status = 503;
        res.set_content("busy", "text/plain");
    });
    server_.Start();
    EXPECT_FALSE(HttpDownloadFile(server_.url("/busy"), Target()));
    EXPECT_EQ(server_.requests(), Strings(10, "HEAD /busy"));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(HttpDownloadTest, GetAnswering404FailsAfterTenSendsAndKeepsTheOldFile) {
    server_.server().Get("/gone", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "GET") {
            res.status = 404;
            res.set_content("<html>not found</html>", "text/html");
        }
    });
    server_.Start();
    testsupport::WriteFile(Target(), "previous poster");
    EXPECT_FALSE(HttpDownloadFile(server_.url("/gone"), Target()));
    Strings expected{"HEAD /gone"};
    expected.insert(expected.end(), 10, "GET /gone");
    EXPECT_EQ(server_.requests(), expected);
    EXPECT_EQ(testsupport::ReadFile(Target()), "previous poster");
    EXPECT_EQ(Leftovers(), (Strings{"file.bin"}));
    EXPECT_EQ(HttpFetchText(server_.url("/gone")), "");
}

TEST_F(HttpDownloadTest, RetriesUntilStatus200) {
    std::atomic<int> calls{0};
    server_.server().Get("/flaky", [&](const httplib::Request&, httplib::Response& res) {
        if (++calls <= 2)
            res.status = 503;
        else
            res.set_content("finally", "text/plain");
    });
    server_.Start();
    HttpRequest request(HttpMethod::Get, server_.url("/flaky"), kHttpAgentName);
    std::string body;
    request.SetBodySink([&](std::string_view piece) {
        body.append(piece);
        return true;
    });
    ASSERT_TRUE(SendRequestRetrying(&request));
    EXPECT_EQ(request.status(), 200);
    EXPECT_EQ(request.outcome(), HttpOutcome::Complete);
    // The error pages' bodies never reach the sink.
    EXPECT_EQ(body, "finally");
    EXPECT_EQ(server_.requestCount(), 3u);
    EXPECT_FALSE(SendRequestRetrying(nullptr));
}

TEST_F(HttpDownloadTest, ExistingFileIsReplacedOnSuccess) {
    const std::string body = Pattern(300'000);
    server_.server().Get("/list.cfg", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "application/octet-stream");
    });
    server_.Start();
    testsupport::WriteFile(Target("list.cfg"),
                           "an older and longer list that must go away entirely");
    ASSERT_TRUE(HttpDownloadFile(server_.url("/list.cfg"), Target("list.cfg")));
    EXPECT_EQ(testsupport::ReadFile(Target("list.cfg")), body);
    EXPECT_EQ(Leftovers(), (Strings{"list.cfg"}));
}

TEST_F(HttpDownloadTest, CutOffBodyLeavesNoFileAfterBoundedRetries) {
    server_.server().Get("/poster.jpg", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "HEAD")
            AnnounceLength(res, 1000);
        else
            CutBody(res, 1000, 500);
    });
    server_.Start();
    EXPECT_FALSE(HttpDownloadFile(server_.url("/poster.jpg"), Target("poster.jpg")));
    Strings expected{"HEAD /poster.jpg"};
    expected.insert(expected.end(), kBodyAttempts, "GET /poster.jpg");
    EXPECT_EQ(server_.requests(), expected);
    EXPECT_TRUE(Leftovers().empty());

    testsupport::WriteFile(Target("poster.jpg"), "cached");
    EXPECT_FALSE(HttpDownloadFile(server_.url("/poster.jpg"), Target("poster.jpg")));
    EXPECT_EQ(testsupport::ReadFile(Target("poster.jpg")), "cached");
    EXPECT_EQ(Leftovers(), (Strings{"poster.jpg"}));
    EXPECT_EQ(HttpFetchText(server_.url("/poster.jpg")), "");
}

TEST_F(HttpDownloadTest, BodyCutOnceIsFetchedAgainFromItsStart) {
    std::atomic<int> gets{0};
    const std::string body = Pattern(1000);
    server_.server().Get("/Version.txt", [&](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "GET" && ++gets == 1)
            CutBody(res, body.size(), 600);
        else
            res.set_content(body, "text/plain");
    });
    server_.Start();
    ASSERT_TRUE(HttpDownloadFile(server_.url("/Version.txt"), Target()));
    EXPECT_EQ(testsupport::ReadFile(Target()), body);
    gets = 0;
    EXPECT_EQ(HttpFetchText(server_.url("/Version.txt")), body);
}

TEST_F(HttpDownloadTest, FetchedTextAboveItsLimitIsRefusedWhateverTheHeadSaid) {
    // Three pieces: the limit is passed by the last one.
    const std::string body = Pattern(30'000);
    for (const char* path : {"/lying", "/honest"}) {
        server_.server().Get(path, [&, path](const httplib::Request& req, httplib::Response& res) {
            if (req.method == "HEAD")
                AnnounceLength(res, std::string(path) == "/lying" ? 10 : body.size());
            else
                res.set_content(body, "text/plain");
        });
    }
    server_.Start();
    EXPECT_EQ(HttpFetchText(server_.url("/lying"), 25'000), "");
    EXPECT_EQ(HttpFetchText(server_.url("/lying"), 30'000), body);
    EXPECT_EQ(HttpFetchText(server_.url("/honest"), 29'999), "");
    const Strings requests = server_.requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /honest"), 0);
}

TEST_F(HttpDownloadTest, RefusedInputsMakeNoRequest) {
    downloadtest::SilentListener listener;
    const std::string host = listener.hostPort();
    EXPECT_FALSE(HttpDownloadFile("http://" + host + "/a", ""));
    EXPECT_FALSE(HttpDownloadFile("", Target()));
    EXPECT_EQ(HttpFetchText(""), "");
    for (const std::string& url :
         Strings{"https://" + host + "/a", "HTTPS://" + host + "/a", "ftp://" + host + "/a",
                 "file:///etc/hostname", host + "/a", "not a url"}) {
        EXPECT_FALSE(HttpDownloadFile(url, Target())) << url;
        EXPECT_EQ(HttpFetchText(url), "") << url;
    }
    EXPECT_FALSE(listener.contacted());
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(HttpDownloadTest, UnwritableTargetFails) {
    server_.server().Get("/a", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("body", "text/plain");
    });
    server_.Start();
    EXPECT_FALSE(HttpDownloadFile(server_.url("/a"), Target("missing-folder/a")));
    EXPECT_FALSE(HttpDownloadFile(server_.url("/a"), Target("folder/")));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(HttpDownloadTest, UnreachableServerFails) {
    int port;
    {
        testsupport::LoopbackServer closed;  // a port that was free a moment ago
        closed.Start();
        port = closed.port();
    }
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/a";
    EXPECT_FALSE(HttpDownloadFile(url, Target()));
    EXPECT_EQ(HttpFetchText(url), "");
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(HttpDownloadTest, SendsAgentOnOneConnectionAndFollowsRedirects) {
    std::mutex mutex;
    Strings agents;
    std::vector<int> ports;
    Strings accepts;
    server_.server().Get(
        "/old", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
    server_.server().Get("/new", [&](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> lock(mutex);
        agents.push_back(req.get_header_value("User-Agent"));
        accepts.push_back(req.get_header_value("Accept"));
        ports.push_back(req.remote_port);
        res.set_content("moved", "text/plain");
    });
    server_.Start();
    ASSERT_TRUE(HttpDownloadFile(server_.url("/old"), Target()));
    EXPECT_EQ(testsupport::ReadFile(Target()), "moved");
    EXPECT_EQ(server_.requests(), (Strings{"HEAD /old", "HEAD /new", "GET /old", "GET /new"}));
    EXPECT_EQ(agents, (Strings{"MyAppByDovakB", "MyAppByDovakB"}));
    EXPECT_EQ(accepts, (Strings{"", ""}));
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0], ports[1]);  // the GET reused the HEAD's connection
}

TEST_F(HttpDownloadTest, BodyArrivesInPiecesOfAtMost10240Bytes) {
    const std::string body = Pattern(200'000);
    server_.server().Get("/big", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "application/octet-stream");
    });
    server_.Start();
    HttpRequest request(HttpMethod::Get, server_.url("/big"), kHttpAgentName);
    std::string received;
    size_t largest = 0;
    request.SetBodySink([&](std::string_view piece) {
        largest = std::max(largest, piece.size());
        received.append(piece);
        return true;
    });
    ASSERT_EQ(request.Perform(), HttpOutcome::Complete);
    EXPECT_EQ(request.contentLength(), 200'000);
    EXPECT_EQ(received, body);
    EXPECT_LE(largest, 10'240u);

    // A sink that refuses ends the transfer with that outcome.
    request.SetBodySink([](std::string_view) { return false; });
    EXPECT_EQ(request.Perform(), HttpOutcome::SinkRefused);
    EXPECT_EQ(request.status(), 200);
}

}  // namespace

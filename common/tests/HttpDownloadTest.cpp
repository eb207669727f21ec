#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/HttpDownload.h"
#include "common/HttpRequest.h"
#include "common/tests/DownloadTestSupport.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"
#include "tools/testsupport/SilentListener.h"

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
    // Within the cap, but past the length the HEAD announced: not the object it described.
    EXPECT_EQ(HttpFetchText(server_.url("/lying"), 30'000), "");
    EXPECT_EQ(HttpFetchText(server_.url("/honest"), 30'000), body);
    EXPECT_EQ(HttpFetchText(server_.url("/honest"), 29'999), "");
    const Strings requests = server_.requests();
    // The refused length got no GET: the one GET is the accepted fetch's.
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /honest"), 1);
}

TEST_F(HttpDownloadTest, RefusedInputsMakeNoRequest) {
    testsupport::SilentListener listener;
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

// ---- Bounds: deadlines, lengths, leftovers ----

using Clock = std::chrono::steady_clock;

TEST_F(HttpDownloadTest, TheDeadlineCoversRetriesAndABodyThatDrips) {
    // A body of 1,000 bytes sent a byte at a time, fast enough never to count as a
    // stall; and a server that is busy, slowly.
    server_.server().Get("/drip", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "HEAD") return AnnounceLength(res, 1000);
        res.set_content_provider(1000, "image/jpeg", [](size_t, size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return sink.write("x", 1);
        });
    });
    server_.server().Get("/busy", [](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        res.status = 503;
    });
    server_.Start();
    const auto deadline = std::chrono::milliseconds(1000);

    auto start = Clock::now();
    EXPECT_FALSE(HttpDownloadFile(server_.url("/drip"), Target("drip.jpg"), deadline));
    EXPECT_LT(Clock::now() - start, deadline + std::chrono::seconds(2));
    EXPECT_TRUE(Leftovers().empty());

    start = Clock::now();
    EXPECT_EQ(HttpFetchText(server_.url("/busy"), deadline), "");
    EXPECT_LT(Clock::now() - start, deadline + std::chrono::seconds(2));
    // Far fewer than the ten sends: the deadline ended the repeats.
    const Strings sent = server_.requests();
    EXPECT_LT(std::count(sent.begin(), sent.end(), "HEAD /busy"), 6);
}

TEST_F(HttpDownloadTest, AGetRunningPastItsHeadLengthFails) {
    server_.server().Get("/grows", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "HEAD") return AnnounceLength(res, 10);
        res.set_content(std::string(20, 'x'), "text/plain");
    });
    server_.server().Get("/empty", [](const httplib::Request& req, httplib::Response& res) {
        // The HEAD announces an empty body ("Content-Length: 0").
        res.set_content(req.method == "HEAD" ? "" : "x", "text/plain");
    });
    server_.Start();
    EXPECT_FALSE(HttpDownloadFile(server_.url("/grows"), Target()));
    EXPECT_EQ(HttpFetchText(server_.url("/grows")), "");
    EXPECT_FALSE(HttpDownloadFile(server_.url("/empty"), Target()));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(HttpDownloadTest, FetchTextKeepsAtMostOneMebibyteAndStopsReading) {
    std::atomic<size_t> poured{0};
    server_.server().Get("/endless", [&](const httplib::Request&, httplib::Response& res) {
        // No length: the body goes on (up to 256 MiB) until the reader stops.
        res.set_chunked_content_provider("text/plain", [&](size_t, httplib::DataSink& sink) {
            const std::string chunk(64 * 1024, '7');
            if (poured >= (256u << 20)) {
                sink.done();
                return true;
            }
            poured += chunk.size();
            return sink.write(chunk.data(), chunk.size());
        });
    });
    server_.server().Get("/announced", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "HEAD") return AnnounceLength(res, kFetchTextLimit + 1);
        res.set_content("9", "text/plain");
    });
    server_.server().Get("/exact", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(kFetchTextLimit, '1'), "text/plain");
    });
    server_.Start();
    EXPECT_EQ(HttpFetchText(server_.url("/endless")), "");
    EXPECT_LT(poured.load(), 64u << 20);
    EXPECT_EQ(HttpFetchText(server_.url("/announced")), "");
    const Strings sent = server_.requests();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "GET /announced"), 0);
    EXPECT_EQ(HttpFetchText(server_.url("/exact")).size(), kFetchTextLimit);
}

TEST_F(HttpDownloadTest, TheNextDownloadIntoTheFolderRemovesAKilledDownloadsPartialFile) {
    server_.server().Get("/p.jpg", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("poster", "image/jpeg");
    });
    server_.Start();
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    const std::string killed = ".p.jpg." + std::to_string(child) + "-00000000deadbeef.trovik-tmp";
    const std::string running =
        ".q.jpg." + std::to_string(getppid()) + "-00000000cafef00d.trovik-tmp";
    testsupport::WriteFile(Target(killed), "half a poster");
    testsupport::WriteFile(Target(running), "being written");
    ASSERT_TRUE(HttpDownloadFile(server_.url("/p.jpg"), Target("p.jpg")));
    EXPECT_EQ(Leftovers(), (Strings{running, "p.jpg"}));
}

}  // namespace

namespace {

TEST_F(HttpDownloadTest, LimitsRefuseALargerBodyAndEndASlowExchange) {
    // 100 bytes in two pieces, without a length in any answer.
    server_.server().Get("/body", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/octet-stream",
                                         [](size_t offset, httplib::DataSink& sink) {
                                             if (offset >= 100) {
                                                 sink.done();
                                                 return true;
                                             }
                                             return sink.write(std::string(50, 'x').data(), 50);
                                         });
    });
    // A byte every 20 ms for up to 3 s: never stalled, but slow.
    server_.server().Get("/slow", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [](size_t offset, httplib::DataSink& sink) {
                if (offset >= 150) {
                    sink.done();
                    return true;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                return sink.write("x", 1);
            });
    });
    server_.Start();
    DownloadLimits limits;
    limits.maxBytes = 99;
    EXPECT_FALSE(HttpDownloadFile(server_.url("/body"), Target(), limits));
    EXPECT_TRUE(Leftovers().empty());
    limits.maxBytes = 100;
    ASSERT_TRUE(HttpDownloadFile(server_.url("/body"), Target(), limits));
    EXPECT_EQ(testsupport::ReadFile(Target()), std::string(100, 'x'));

    limits.deadline = std::chrono::milliseconds(300);
    EXPECT_FALSE(HttpDownloadFile(server_.url("/slow"), Target("slow.bin"), limits));
    EXPECT_EQ(Leftovers(), (Strings{"file.bin"}));
}

}  // namespace

// The engine object through its export, against in-process loopback servers.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <thread>

#include "engine/SearchHostConfig.h"
#include "engine/tests/GbkPage.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"
#include "vantrel/TrovikMgr.h"

namespace vantrel {
namespace {

using test::Gbk;
using testsupport::LoopbackServer;
using testsupport::ScopedEnv;

const std::string kItem =
    "<li><div class=\"pic_left\"><img src=\"p.jpg\"></div><div class=\"txt_right\">"
    "<a class=\"aVideoName\" href=\"DETAIL\">风</a><span class=\"sVideoStyle\">[电影]</span>"
    "</div></li>";

CTrovikMgr* Engine() {
    CTrovikMgr* mgr = nullptr;
    EXPECT_EQ(GetTrovikMgr(&mgr), 1);
    return mgr;
}

TEST(Export, EveryCallGivesTheSameObject) {
    CTrovikMgr* first = nullptr;
    CTrovikMgr* second = nullptr;
    EXPECT_EQ(GetTrovikMgr(&first), 1);
    EXPECT_EQ(GetTrovikMgr(&second), 1);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(first, second);
}

TEST(EngineLoopback, SearchRequestsTheKeywordUnchanged) {
    LoopbackServer server;
    server.server().Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        res.set_content(test::SearchPage(kItem + kItem), "text/html");
    });
    server.Start();
    ScopedEnv host(kSearchHostVariable, server.hostPort());

    std::vector<SearchResult> results(1);
    EXPECT_TRUE(Engine()->Search("%B7%E7+a-b_c.d~e", &results));
    EXPECT_EQ(server.requests(), (std::vector<std::string>{"GET /search_%B7%E7+a-b_c.d~e/"}));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[1].name, Gbk("风"));
    EXPECT_EQ(results[2].posterUrl, "p.jpg");
}

TEST(EngineLoopback, ErrorStatusesAndMissingServers) {
    LoopbackServer server;
    server.server().Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        res.status = 404;
        res.set_content("<ul id=\"searchlist\"></ul>", "text/html");  // an error page with a list
    });
    server.Start();
    ScopedEnv host(kSearchHostVariable, server.hostPort());
    std::vector<SearchResult> results;
    // The body of an error answer is parsed like any page.
    EXPECT_TRUE(Engine()->Search("x", &results));
    EXPECT_TRUE(results.empty());

    std::vector<PlaySource> sources;
    EXPECT_FALSE(Engine()->GetPlaySources("http://127.0.0.1:1/none.html", &sources, Gbk("[电影]")));
    EXPECT_TRUE(sources.empty());
    EXPECT_FALSE(Engine()->GetPlaySources("file:///etc/passwd", &sources, Gbk("[电视剧]")));
}

TEST(EngineLoopback, CategoryChoosesTheExtractor) {
    const std::string movie = Gbk(
        "<div class=\"moviePlaySourceA\"><a href=\"m\"><img src=\"i\">站</a></div>"
        "<div class=\"playNumList\"><div class=\"playNumTab clearfix\"><a><img src=\"i\">"
        "<span>站</span></a></div><div class=\"playNumCon\"><a target=\"_blank\" href=\"e\">1</a>"
        "</div></div>");
    LoopbackServer server;
    server.server().Get(".*", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(movie, "text/html");
    });
    server.Start();
    const std::string url = server.url("/detail/1.html");

    struct Case {
        const char* category;
        bool result;
        std::vector<std::string> links;
    };
    for (const Case& c : std::vector<Case>{{"[电影]", true, {"m"}},
                                           {"[电视剧]", true, {"e"}},
                                           {"[动漫]", true, {"e"}},
                                           {"[综艺]", false, {}},
                                           {"[电影] ", true, {}},
                                           {"", true, {}}}) {
        std::vector<PlaySource> sources;
        EXPECT_EQ(Engine()->GetPlaySources(url, &sources, Gbk(c.category)), c.result) << c.category;
        std::vector<std::string> links;
        for (const PlaySource& s : sources)
            links.insert(links.end(), s.links.begin(), s.links.end());
        EXPECT_EQ(links, c.links) << c.category;
    }
    // The page is fetched in every case, also when nothing is extracted.
    EXPECT_EQ(server.requestCount(), 6u);
    EXPECT_EQ(server.requests()[0], "GET /detail/1.html");
}

TEST(EngineLoopback, ZeroByteDropsTheRestOfItsChunk) {
    LoopbackServer server;
    server.server().Get(".*", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html", [](size_t, httplib::DataSink& sink) {
            // Each write goes out as one HTTP chunk.
            const std::string first =
                "<ul id=\"searchlist\"><li><div class=\"txt_right\"><a class=\"aVideoName\">A</a>"
                "</div></li>" +
                std::string("\0<li>dropped</li>", 17);
            const std::string second =
                "<li><div class=\"txt_right\"><a class=\"aVideoName\">B</a></div></li></ul>";
            sink.write(first.data(), first.size());
            sink.write(second.data(), second.size());
            sink.done();
            return true;
        });
    });
    server.Start();
    ScopedEnv host(kSearchHostVariable, server.hostPort());
    std::vector<SearchResult> results;
    EXPECT_TRUE(Engine()->Search("k", &results));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].name, "A");
    EXPECT_EQ(results[1].name, "B");
}

TEST(EngineLoopback, OversizedBodyIsAbandoned) {
    // A valid result list followed by more than the accepted page size.
    std::string body = test::SearchPage(kItem);
    const std::string page = body;
    body.resize(9u << 20, ' ');
    LoopbackServer server;
    server.server().Get("/search_big/", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "text/html");
    });
    server.server().Get("/search_small/", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(page, "text/html");
    });
    server.Start();
    ScopedEnv host(kSearchHostVariable, server.hostPort());
    std::vector<SearchResult> results;
    EXPECT_FALSE(Engine()->Search("big", &results));
    EXPECT_TRUE(results.empty());
    EXPECT_TRUE(Engine()->Search("small", &results));
    EXPECT_EQ(results.size(), 1u);
}

TEST(EngineLoopback, ServerThatNeverAnswersEndsAfterTheTimeLimit) {
    // A socket that listens but never accepts: the connection is made, the
    // request is sent, and no answer ever comes.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ScopedEnv host(kSearchHostVariable, "127.0.0.1:" + std::to_string(ntohs(address.sin_port)));

    const auto start = std::chrono::steady_clock::now();
    std::vector<SearchResult> results;
    EXPECT_FALSE(Engine()->Search("slow", &results));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::seconds(9));
    EXPECT_LT(took, std::chrono::seconds(15));
    close(listener);
}

TEST(EngineLoopback, ATransferCutShortIsNoPage) {
    // What arrives holds a whole result list or film block; the last 500 bytes of the
    // announced length never come.
    const std::string page = test::SearchPage(kItem);
    const std::string movie =
        Gbk("<div class=\"moviePlaySourceA\"><a href=\"m\"><img src=\"i\">站</a></div>");
    LoopbackServer server;
    server.server().Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        const std::string body = req.path.starts_with("/search_") ? page : movie;
        res.set_content_provider(body.size() + 500, "text/html",
                                 [body](size_t, size_t, httplib::DataSink& sink) {
                                     sink.write(body.data(), body.size());
                                     return false;  // closes the connection
                                 });
    });
    server.Start();
    ScopedEnv host(kSearchHostVariable, server.hostPort());
    std::vector<SearchResult> results;
    EXPECT_FALSE(Engine()->Search("cut", &results));
    EXPECT_TRUE(results.empty());
    std::vector<PlaySource> sources;
    EXPECT_FALSE(Engine()->GetPlaySources(server.url("/detail/1.html"), &sources, Gbk("[电影]")));
    EXPECT_TRUE(sources.empty());
}

TEST(EngineLoopback, SeveralThreadsUseTheEngineAtOnce) {
    const std::string detail =
        Gbk("<div class=\"moviePlaySourceA\"><a href=\"PLAY\"><img src=\"i\">站</a></div>");
    LoopbackServer server;
    server.server().Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        if (req.path.starts_with("/search_"))
            res.set_content(test::SearchPage(kItem + kItem), "text/html");
        else  // each detail page names its own path
            res.set_content(std::regex_replace(detail, std::regex("PLAY"), req.path), "text/html");
    });
    server.Start();
    ScopedEnv host(kSearchHostVariable, server.hostPort());

    constexpr int kThreads = 8;
    constexpr int kRounds = 6;
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                std::vector<SearchResult> results;
                std::vector<PlaySource> sources;
                const std::string path =
                    "/detail/" + std::to_string(t) + "-" + std::to_string(round);
                if (Engine()->Search("k", &results) && results.size() == 2 &&
                    results[1].name == Gbk("风") &&
                    Engine()->GetPlaySources(server.url(path), &sources, Gbk("[电影]")) &&
                    sources.size() == 1 && sources[0].links == std::vector<std::string>{path})
                    ++good;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(good.load(), kThreads * kRounds);
    EXPECT_EQ(server.requestCount(), 2u * kThreads * kRounds);
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>

#include "client/core/UsageReport.h"
#include "client/core/tests/QueryDecode.h"
#include "tools/testsupport/LoopbackServer.h"
#include "tools/testsupport/WaitFor.h"

namespace {

// A statistics server on the loopback interface that records each "liveness.php"
// request as the server decoded it.
class StatServer {
public:
    struct Report {
        std::string target;  // the raw request target
        std::string userAgent;
        std::multimap<std::string, std::string> params;  // decoded by the server
    };

    StatServer() {
        server_.server().Get("/liveness.php",
                             [this](const httplib::Request& req, httplib::Response& res) {
                                 Report report{req.target,
                                               req.get_header_value("User-Agent"),
                                               {req.params.begin(), req.params.end()}};
                                 {
                                     std::lock_guard<std::mutex> lock(mutex_);
                                     reports_.push_back(std::move(report));
                                 }
                                 if (onRequest_) onRequest_();
                                 res.set_content("ok", "text/plain");
                             });
    }
    void Start() { server_.Start(); }
    std::string host() const { return server_.hostPort(); }
    void OnRequest(std::function<void()> hook) { onRequest_ = std::move(hook); }

    size_t count() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return reports_.size();
    }
    std::vector<Report> reports() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return reports_;
    }
    Report WaitForOne() {
        EXPECT_TRUE(testsupport::WaitFor([&] { return count() >= 1; }));
        auto all = reports();
        return all.empty() ? Report{} : all.front();
    }

private:
    testsupport::LoopbackServer server_;
    std::function<void()> onRequest_;
    mutable std::mutex mutex_;
    std::vector<Report> reports_;
};

UsageReportSetup SetupFor(const StatServer& server) {
    UsageReportSetup setup;
    setup.serverHost = server.host();
    setup.identity.adapterAddresses = "00:1A:2B:3C:4D:5E|02:42:AC:11:00:02";
    setup.identity.fileVersion = "1.0.1.102";
    setup.identity.systemName = "Debian GNU/Linux 12 (bookworm)";
    setup.identity.guid = "{6B29FC40-CA47-1067-b31d-00DD010662DA}";
    setup.identity.chid = "web01";
    return setup;
}

std::string Only(const StatServer::Report& report, const std::string& name) {
    EXPECT_EQ(report.params.count(name), 1u) << name << " in " << report.target;
    auto it = report.params.find(name);
    return it == report.params.end() ? "<absent>" : it->second;
}

TEST(UsageReportTest, SearchTextReachesTheServerAsOneParameter) {
    StatServer server;
    server.Start();
    const UsageReportSetup setup = SetupFor(server);

    SendUsageReport(setup, kUsageReportSearch, "a&type=9 b");

    const StatServer::Report report = server.WaitForOne();
    EXPECT_EQ(Only(report, "text"), "a&type=9 b");
    EXPECT_EQ(Only(report, "type"), "1");
    EXPECT_EQ(Only(report, "macid"), setup.identity.adapterAddresses);
    EXPECT_EQ(Only(report, "ver"), "1.0.1.102");
    EXPECT_EQ(Only(report, "osver"), setup.identity.systemName);
    EXPECT_EQ(Only(report, "guid"), setup.identity.guid);
    EXPECT_EQ(Only(report, "chid"), "web01");
    EXPECT_EQ(report.params.size(), 7u);
    EXPECT_EQ(report.userAgent, "User-Agent");
    // The request's object name is exactly the built query.
    EXPECT_EQ(report.target, "/" + BuildUsageQuery(setup.identity, 1, "a&type=9 b"));
}

TEST(UsageReportTest, LineBreaksAndChineseBytesArriveUnchanged) {
    StatServer server;
    server.Start();
    const std::string text =
        "\xC4\xE3\xBA\xC3 #1\r\nGET / HTTP/1.1";  // GB18030 "你好 #1", then a line break

    SendUsageReport(SetupFor(server), kUsageReportSearch, text);

    const StatServer::Report report = server.WaitForOne();
    EXPECT_EQ(Only(report, "text"), text);
    EXPECT_EQ(Only(report, "type"), "1");
}

TEST(UsageReportTest, StartupReportHasAnEmptyText) {
    StatServer server;
    server.Start();
    UsageReportSetup setup = SetupFor(server);
    setup.identity.guid.clear();  // the very first start has no GUID yet

    SendUsageReport(setup, kUsageReportStartup, "");

    const StatServer::Report report = server.WaitForOne();
    EXPECT_EQ(Only(report, "type"), "2");
    EXPECT_EQ(Only(report, "text"), "");
    EXPECT_EQ(Only(report, "guid"), "");
    const auto params = DecodeQuery(report.target);
    ASSERT_EQ(params.size(), 7u);
    EXPECT_EQ(params[3].first, "text");
}

TEST(UsageReportTest, ReturnsWithoutWaitingForTheServer) {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    bool answeredAfterRelease = false;
    StatServer server;  // declared last: its handler uses the values above
    server.OnRequest([&] {
        std::unique_lock<std::mutex> lock(mutex);
        entered = true;
        changed.notify_all();
        answeredAfterRelease =
            changed.wait_for(lock, std::chrono::seconds(20), [&] { return released; });
    });
    server.Start();

    SendUsageReport(SetupFor(server), kUsageReportSearch, "slow");
    // Reached while the server still holds the request.
    {
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(20), [&] { return entered; }));
        released = true;
        changed.notify_all();
    }
    EXPECT_TRUE(testsupport::WaitFor([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return answeredAfterRelease;
    }));
}

TEST(UsageReportTest, OverlappingReportsAllArrive) {
    StatServer server;
    server.Start();
    const UsageReportSetup setup = SetupFor(server);
    for (int i = 0; i < 5; ++i)
        SendUsageReport(setup, kUsageReportSearch, "show " + std::to_string(i));

    ASSERT_TRUE(testsupport::WaitFor([&] { return server.count() == 5; }));
    std::multiset<std::string> texts;
    for (const auto& report : server.reports()) texts.insert(Only(report, "text"));
    EXPECT_EQ(texts,
              (std::multiset<std::string>{"show 0", "show 1", "show 2", "show 3", "show 4"}));
}

TEST(UsageReportTest, UnreachableServerIsSilent) {
    UsageReportSetup setup;
    {
        StatServer closed;
        closed.Start();
        setup.serverHost = closed.host();
    }  // the port is closed again
    SendUsageReport(setup, kUsageReportSearch, "lost");
    // Nothing to observe but that the program carries on; a second report to a live
    // server still goes out.
    StatServer server;
    server.Start();
    SendUsageReport(SetupFor(server), kUsageReportSearch, "kept");
    EXPECT_EQ(Only(server.WaitForOne(), "text"), "kept");
}

TEST(UsageReportTest, ProcessWideSetupIsUsed) {
    StatServer server;
    server.Start();
    ProcessUsageReportSetup() = SetupFor(server);

    SendUsageReport(kUsageReportSearch, "via process setup");

    EXPECT_EQ(Only(server.WaitForOne(), "text"), "via process setup");
    ProcessUsageReportSetup() = UsageReportSetup{};
}

}  // namespace

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "common/BindCallback.h"
#include "common/UrlDownload.h"
#include "common/tests/DownloadTestSupport.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"
#include "tools/testsupport/SilentListener.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

struct RecordingTarget : IProgressTarget {
    void SetProgress(int percent) override { values.push_back(percent); }
    std::vector<int> values;
};

class UrlDownloadTest : public ::testing::Test {
protected:
    std::string Target(const std::string& name = "Theme01.png") const {
        return (fs::path(env_.tmpDir()) / name).string();
    }
    Strings Leftovers() const { return downloadtest::FolderEntries(env_.tmpDir()); }

    testsupport::IsolatedEnv env_;
    testsupport::LoopbackServer server_;
};

TEST_F(UrlDownloadTest, DownloadsWithOneGetAndReportsProgress) {
    const std::string body(300'000, 'p');
    server_.server().Get("/Theme/Theme01.png",
                         [&](const httplib::Request&, httplib::Response& res) {
                             res.set_content(body, "image/png");
                         });
    server_.Start();
    RecordingTarget bar;
    CBindCallback callback;
    callback.progress = &bar;
    callback.startTick = callback.Now();
    ASSERT_TRUE(UrlDownloadToFile(server_.url("/Theme/Theme01.png"), Target(), &callback));
    EXPECT_EQ(testsupport::ReadFile(Target()), body);
    EXPECT_EQ(server_.requests(), (Strings{"GET /Theme/Theme01.png"}));
    EXPECT_EQ(Leftovers(), (Strings{"Theme01.png"}));

    ASSERT_FALSE(bar.values.empty());
    EXPECT_EQ(bar.values.back(), 100);
    for (size_t i = 0; i < bar.values.size(); ++i) {
        EXPECT_GE(bar.values[i], 0);
        EXPECT_LE(bar.values[i], 100);
        if (i > 0) {
            EXPECT_GE(bar.values[i], bar.values[i - 1]);
        }
    }
}

TEST_F(UrlDownloadTest, WorksWithoutCallback) {
    server_.server().Get("/a.txt", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("plain", "text/plain");
    });
    server_.Start();
    ASSERT_TRUE(UrlDownloadToFile(server_.url("/a.txt"), Target("a.txt"), nullptr));
    EXPECT_EQ(testsupport::ReadFile(Target("a.txt")), "plain");
}

TEST_F(UrlDownloadTest, AbortAfterTenMinutesLeavesNoFile) {
    // A body far larger than what arrives before the clock jumps.
    std::atomic<bool> stop{false};
    server_.server().Get("/slow.zip", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/zip",
                                         [&](size_t offset, httplib::DataSink& sink) {
                                             if (stop || offset > 200'000'000) {
                                                 sink.done();
                                                 return true;
                                             }
                                             const std::string piece(8192, 'z');
                                             return sink.write(piece.data(), piece.size());
                                         });
    });
    server_.Start();

    // Ten minutes pass once the download has started delivering progress.
    std::uint32_t now = 5000;
    int calls = 0;
    CBindCallback callback([&] {
        if (++calls == 20) now += 600'001;
        return now;
    });
    RecordingTarget bar;
    callback.progress = &bar;
    callback.startTick = callback.Now();

    testsupport::WriteFile(Target("slow.zip"), "older file");
    EXPECT_FALSE(UrlDownloadToFile(server_.url("/slow.zip"), Target("slow.zip"), &callback));
    stop = true;
    EXPECT_GE(calls, 20);
    EXPECT_EQ(testsupport::ReadFile(Target("slow.zip")), "older file");
    EXPECT_EQ(Leftovers(), (Strings{"slow.zip"}));
}

TEST_F(UrlDownloadTest, NonSuccessStatusFails) {
    server_.server().Get("/missing.png", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("not here", "text/plain");
    });
    server_.Start();
    CBindCallback callback;
    callback.startTick = callback.Now();
    EXPECT_FALSE(UrlDownloadToFile(server_.url("/missing.png"), Target(), &callback));
    // No header probe and no retry.
    EXPECT_EQ(server_.requests(), (Strings{"GET /missing.png"}));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(UrlDownloadTest, RefusesOtherSchemesAndEmptyArguments) {
    testsupport::SilentListener listener;
    for (const std::string& url :
         {"ftp://" + listener.hostPort() + "/a", std::string("file:///etc/hostname"),
          listener.hostPort() + "/a", std::string()}) {
        EXPECT_FALSE(UrlDownloadToFile(url, Target(), nullptr)) << url;
    }
    EXPECT_FALSE(UrlDownloadToFile("http://" + listener.hostPort() + "/a", "", nullptr));
    EXPECT_FALSE(listener.contacted());
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(UrlDownloadTest, CutOffBodyLeavesNoFile) {
    server_.server().Get("/part.bin", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(5000, "application/octet-stream",
                                 [](size_t, size_t, httplib::DataSink& sink) {
                                     sink.write(std::string(1000, 'c').data(), 1000);
                                     return false;
                                 });
    });
    server_.Start();
    EXPECT_FALSE(UrlDownloadToFile(server_.url("/part.bin"), Target("part.bin"), nullptr));
    EXPECT_TRUE(Leftovers().empty());
}

}  // namespace

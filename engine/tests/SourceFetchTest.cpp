// The vantrel command's concurrent source fetching, against a scripted engine object:
// the results' order whatever order the calls end in, the number of calls at a time,
// and the deadline.

#include "engine/cli/SourceFetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace vantrel::cli {
namespace {

using Clock = std::chrono::steady_clock;

// GetPlaySources answers with one source named after the URL. URL "first" waits until
// every other call has returned; URL "never" waits until the test lets it go.
class ScriptedEngine : public CTrovikMgr {
public:
    bool Search(std::string, std::vector<SearchResult>*) override { return false; }
    bool GetPlaySources(std::string url, std::vector<PlaySource>* sources,
                        std::string category) override {
        std::unique_lock lock(mutex_);
        maxRunning_ = std::max(maxRunning_, ++running_);
        if (url == "first")
            changed_.wait(lock, [&] { return returned_ + 1 == calls_; });
        else if (url == "never")
            changed_.wait(lock, [&] { return released_; });
        else  // a page load takes a moment, so that calls overlap
            changed_.wait_for(lock, std::chrono::milliseconds(20), [] { return false; });
        --running_;
        ++returned_;
        changed_.notify_all();
        sources->push_back(PlaySource{url, "", {}});
        return category == "ok";
    }
    void Expect(int calls) {
        std::lock_guard lock(mutex_);
        calls_ = calls;
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    // Waits until `count` calls have returned (a test must not end before its calls).
    void AwaitReturned(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return returned_ >= count; });
    }
    int maxRunning() {
        std::lock_guard lock(mutex_);
        return maxRunning_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int running_ = 0, maxRunning_ = 0, returned_ = 0, calls_ = 0;
    bool released_ = false;
};

std::vector<SearchResult> Results(const std::vector<std::string>& urls) {
    std::vector<SearchResult> results(urls.size());
    for (size_t i = 0; i < urls.size(); ++i) {
        results[i].detailUrl = urls[i];
        results[i].category = i % 2 ? "ok" : "no";
    }
    return results;
}

TEST(SourceFetchTest, ResultsKeepTheirOrderWhenTheFirstCallReturnsLast) {
    ScriptedEngine engine;
    engine.Expect(4);
    const auto outcome = FetchAllSources(&engine, Results({"first", "b", "c", "d"}), 6,
                                         Clock::now() + std::chrono::seconds(20));
    EXPECT_FALSE(outcome.abandoned);
    ASSERT_EQ(outcome.items.size(), 4u);
    const std::vector<std::string> names = {"first", "b", "c", "d"};
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(outcome.items[i].sources.size(), 1u);
        EXPECT_EQ(outcome.items[i].sources[0].name, names[i]);
        EXPECT_EQ(outcome.items[i].ok, i % 2 == 1);
    }
    EXPECT_EQ(engine.maxRunning(), 4);  // all four ran at once
}

TEST(SourceFetchTest, AtMostJobsCallsRunAtOnce) {
    ScriptedEngine engine;
    std::vector<std::string> urls;
    for (int i = 0; i < 12; ++i) urls.push_back("u" + std::to_string(i));
    for (const int jobs : {1, 3}) {
        const auto outcome =
            FetchAllSources(&engine, Results(urls), jobs, Clock::now() + std::chrono::seconds(20));
        EXPECT_FALSE(outcome.abandoned);
        EXPECT_EQ(outcome.items.back().sources.at(0).name, "u11");
        EXPECT_EQ(engine.maxRunning(), jobs);
    }
}

TEST(SourceFetchTest, ACallStillRunningAtTheDeadlineCountsAsNoSources) {
    ScriptedEngine engine;
    const auto start = Clock::now();
    const auto outcome = FetchAllSources(&engine, Results({"a", "never", "c"}), 6,
                                         start + std::chrono::milliseconds(300));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(300));
    engine.Release();
    engine.AwaitReturned(3);
    EXPECT_TRUE(outcome.abandoned);
    ASSERT_EQ(outcome.items.size(), 3u);
    EXPECT_EQ(outcome.items[0].sources.size(), 1u);
    EXPECT_FALSE(outcome.items[1].ok);
    EXPECT_TRUE(outcome.items[1].sources.empty());
    EXPECT_EQ(outcome.items[2].sources.at(0).name, "c");
}

}  // namespace
}  // namespace vantrel::cli

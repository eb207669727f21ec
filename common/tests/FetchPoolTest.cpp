// The pool that runs a search's network jobs: the limit per host, the order in which
// waiting jobs start, and cancelling.

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "common/FetchPool.h"
#include "common/UrlHost.h"
#include "tools/testsupport/WaitFor.h"

namespace {

// Jobs that report their start and then wait until the test opens the gate.
class Gate {
public:
    void Open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    // Records `name` as started on `host`, waits for the gate, records the end.
    void Pass(const std::string& host, const std::string& name) {
        std::unique_lock lock(mutex_);
        started_.push_back(name);
        maxRunning_[host] = std::max(maxRunning_[host], ++running_[host]);
        changed_.wait(lock, [&] { return open_; });
        --running_[host];
        ++finished_;
    }
    std::vector<std::string> started() {
        std::lock_guard lock(mutex_);
        return started_;
    }
    int running(const std::string& host) {
        std::lock_guard lock(mutex_);
        return running_[host];
    }
    int maxRunning(const std::string& host) {
        std::lock_guard lock(mutex_);
        return maxRunning_[host];
    }
    int finished() {
        std::lock_guard lock(mutex_);
        return finished_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    std::vector<std::string> started_;
    std::map<std::string, int> running_, maxRunning_;
    int finished_ = 0;
};

TEST(FetchPoolTest, AtMostPerHostJobsRunForOneHostWhileOtherHostsGoOn) {
    Gate gate;
    FetchPool pool(2, 6);
    for (int i = 0; i < 5; ++i)
        pool.Add("http://portal.test/detail/" + std::to_string(i), i,
                 [&gate] { gate.Pass("portal", "d"); });
    for (int i = 0; i < 3; ++i)
        pool.Add("http://IMG.test:80/p" + std::to_string(i), i, [&gate] { gate.Pass("img", "p"); });
    // Both hosts reach their limit at the same time, and neither goes past it.
    ASSERT_TRUE(testsupport::WaitFor(
        [&] { return gate.running("portal") == 2 && gate.running("img") == 2; }));
    EXPECT_EQ(gate.started().size(), 4u);
    gate.Open();
    ASSERT_TRUE(testsupport::WaitFor([&] { return gate.finished() == 8; }));
    EXPECT_EQ(gate.maxRunning("portal"), 2);
    EXPECT_EQ(gate.maxRunning("img"), 2);
}

TEST(FetchPoolTest, WaitingJobsStartByPriorityThenInTheOrderAdded) {
    Gate gate;
    std::mutex mutex;
    std::vector<std::string> order;
    const auto job = [&](const std::string& name) {
        return [&, name] {
            std::lock_guard lock(mutex);
            order.push_back(name);
        };
    };
    FetchPool pool(1, 4);
    pool.Add("http://h.test/busy", 0, [&gate] { gate.Pass("h", "busy"); });
    ASSERT_TRUE(testsupport::WaitFor([&] { return gate.running("h") == 1; }));
    // While the host's one slot is taken, jobs pile up out of order.
    pool.Add("http://h.test/c", 5, job("c"));
    pool.Add("http://h.test/a1", 1, job("a1"));
    pool.Add("http://h.test/b", 3, job("b"));
    pool.Add("http://h.test/a2", 1, job("a2"));
    gate.Open();
    ASSERT_TRUE(testsupport::WaitFor([&] {
        std::lock_guard lock(mutex);
        return order.size() == 4;
    }));
    EXPECT_EQ(order, (std::vector<std::string>{"a1", "a2", "b", "c"}));
}

TEST(FetchPoolTest, CancelDropsTheJobsThatHaveNotStarted) {
    Gate gate;
    int ran = 0;
    {
        FetchPool pool(1, 1);
        pool.Add("http://h.test/1", 0, [&gate] { gate.Pass("h", "1"); });
        ASSERT_TRUE(testsupport::WaitFor([&] { return gate.running("h") == 1; }));
        pool.Add("http://h.test/2", 0, [&ran] { ++ran; });
        pool.Cancel();
        pool.Add("http://h.test/3", 0, [&ran] { ++ran; });
    }  // the running job outlives its pool
    gate.Open();
    ASSERT_TRUE(testsupport::WaitFor([&] { return gate.finished() == 1; }));
    EXPECT_EQ(ran, 0);
}

TEST(FetchPoolTest, HostKeysIgnoreCaseAndDefaultPorts) {
    EXPECT_EQ(UrlHostKey("http://Portal.TEST/a?b"), "http://portal.test:80");
    EXPECT_EQ(UrlHostKey("http://portal.test:80/x"), UrlHostKey("HTTP://portal.test/y"));
    EXPECT_NE(UrlHostKey("http://portal.test:8080/"), UrlHostKey("http://portal.test/"));
    EXPECT_EQ(UrlHostKey("https://img.test/p.jpg"), "https://img.test:443");
    EXPECT_EQ(UrlHostKey("http://user:pw@[::1]:080/x"), "http://[::1]:80");
    EXPECT_EQ(UrlHostKey("http://h.test:0"), "http://h.test:0");
    EXPECT_EQ(UrlHostKey("svn+ssh://h.test/r"), "svn+ssh://h.test:");
    EXPECT_EQ(UrlHostKey("x-y.z://h.test/r"), "x-y.z://h.test:");
    EXPECT_EQ(UrlHostKey(""), "");
    EXPECT_EQ(UrlHostKey("http:///path"), "");
    EXPECT_EQ(UrlHostKey("1http://h.test/"), "");
    EXPECT_EQ(UrlHostKey("/relative/path"), "");
}

}  // namespace

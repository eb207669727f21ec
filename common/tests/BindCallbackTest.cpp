#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/BindCallback.h"
#include "common/TickCount.h"

namespace {

struct RecordingTarget : IProgressTarget {
    void SetProgress(int percent) override { values.push_back(percent); }
    std::vector<int> values;
};

// A callback whose clock reads `now`.
struct ClockedCallback {
    std::uint32_t now = 0;
    RecordingTarget target;
    CBindCallback callback{[this] { return now; }};
    ClockedCallback() { callback.progress = &target; }
};

TEST(BindCallback, ReportsIntegerPercentages) {
    ClockedCallback c;
    EXPECT_EQ(c.callback.OnProgress(0, 200), CBindCallback::S_OK);
    EXPECT_EQ(c.callback.OnProgress(50, 200), CBindCallback::S_OK);
    EXPECT_EQ(c.callback.OnProgress(199, 200), CBindCallback::S_OK);
    EXPECT_EQ(c.callback.OnProgress(200, 200), CBindCallback::S_OK);
    // Unknown size: 0.
    EXPECT_EQ(c.callback.OnProgress(12345, 0), CBindCallback::S_OK);
    EXPECT_EQ(c.target.values, (std::vector<int>{0, 25, 99, 100, 0}));
}

TEST(BindCallback, LargeFilesDoNotOverflowThePercentage) {
    ClockedCallback c;
    c.callback.OnProgress(3'000'000'000ull, 4'000'000'000ull);
    c.callback.OnProgress(90'000'000ull, 100'000'000ull);
    c.callback.OnProgress(0x7000'0000'0000'0000ull, 0x8000'0000'0000'0000ull);
    // More than announced is shown as complete, never above 100.
    c.callback.OnProgress(500, 400);
    EXPECT_EQ(c.target.values, (std::vector<int>{75, 90, 87, 100}));
}

TEST(BindCallback, AbortsOnlyAfterTenMinutes) {
    ClockedCallback c;
    c.callback.startTick = 1000;
    c.now = 1000 + 600'000;  // exactly ten minutes: still allowed
    EXPECT_EQ(c.callback.OnProgress(1, 2), CBindCallback::S_OK);
    c.now = 1000 + 600'001;
    EXPECT_EQ(c.callback.OnProgress(1, 2), CBindCallback::E_ABORT);
    EXPECT_EQ(c.callback.E_ABORT, static_cast<std::int32_t>(0x80004004u));
    // An abort does not touch the bar.
    EXPECT_EQ(c.target.values, (std::vector<int>{50}));
    // A new start time allows the next download.
    c.callback.startTick = c.now;
    EXPECT_EQ(c.callback.OnProgress(1, 4), CBindCallback::S_OK);
    EXPECT_EQ(c.target.values.back(), 25);
}

TEST(BindCallback, TickWrapAroundIsHarmless) {
    ClockedCallback c;
    c.callback.startTick = 0xFFFF'FF00u;
    c.now = 0x100;  // 512 ms later, after the counter wrapped
    EXPECT_EQ(c.callback.OnProgress(1, 1), CBindCallback::S_OK);
    c.callback.startTick = 0xFFFF'FFF0u;
    c.now = 600'000;  // 600,016 ms later
    EXPECT_EQ(c.callback.OnProgress(1, 1), CBindCallback::E_ABORT);
}

TEST(BindCallback, WorksWithoutProgressTargetAndWithTheRealClock) {
    CBindCallback callback;
    callback.startTick = TickCount();
    EXPECT_EQ(callback.OnProgress(10, 100), CBindCallback::S_OK);
    // Ten minutes and a bit before now: over the limit.
    callback.startTick = callback.Now() - 600'500u;
    EXPECT_EQ(callback.OnProgress(10, 100), CBindCallback::E_ABORT);
}

}  // namespace

// The client's start-up pieces: the command-line switches and the single-instance step.

#include <gtest/gtest.h>

#include <atomic>

#include "client/SingleInstance.h"
#include "client/core/StartupFlags.h"
#include "platform/WindowRegistry.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/WaitFor.h"

namespace {

StartupFlags Parse(std::vector<std::string> args) {
    return ParseStartupSwitches(args);
}

TEST(StartupSwitches, NoSwitchesSetNoFlag) {
    const StartupFlags flags = Parse({"/opt/trovik/trovik"});
    EXPECT_FALSE(flags.startHidden);
    EXPECT_FALSE(flags.noUpdater);
    EXPECT_FALSE(Parse({}).startHidden);
}

TEST(StartupSwitches, SwitchesMatchWholeArgumentsInAnyLetterCase) {
    EXPECT_TRUE(Parse({"trovik", "/runashide"}).startHidden);
    EXPECT_TRUE(Parse({"trovik", "/RUNASHIDE"}).startHidden);
    EXPECT_TRUE(Parse({"trovik", "/RunAsHide"}).startHidden);
    EXPECT_FALSE(Parse({"trovik", "/RUNASHIDE"}).noUpdater);

    // "/noupdate" and "/runassvr" do the same.
    for (const char* sw : {"/noupdate", "/NOUPDATE", "/runassvr", "/RunAsSvr"}) {
        const StartupFlags flags = Parse({"trovik", sw});
        EXPECT_TRUE(flags.noUpdater) << sw;
        EXPECT_FALSE(flags.startHidden) << sw;
    }
    const StartupFlags both = Parse({"trovik", "/noupdate", "/runashide"});
    EXPECT_TRUE(both.startHidden);
    EXPECT_TRUE(both.noUpdater);
}

TEST(StartupSwitches, ArgumentsThatOnlyContainASwitchCountForNothing) {
    for (const char* arg : {"/runashide2", "x/runashide", "/runashide ", "runashide", "-runashide",
                            "/noupdates", "--noupdate", "/runas", "/run ashide", ""}) {
        const StartupFlags flags = Parse({"trovik", arg});
        EXPECT_FALSE(flags.startHidden) << arg;
        EXPECT_FALSE(flags.noUpdater) << arg;
    }
    // Letters outside ASCII never fold onto the switch's letters.
    EXPECT_FALSE(Parse({"/runashİde"}).startHidden);
}

TEST(StartupSwitches, TheProgramPathCountsAsAnArgument) {
    EXPECT_TRUE(Parse({"/noupdate"}).noUpdater);
}

TEST(SingleInstance, FirstClaimHoldsTheMutexAndASecondAsksTheWindowToShow) {
    testsupport::IsolatedEnv env;
    std::atomic<int> shows{0};
    platform::WindowRegistration window(L"TrovikarClientTest", L"Trovik", [&] { ++shows; });

    auto first = ClaimSingleInstance("MUTEX_TROVIK_TEST", L"TrovikarClientTest", L"Trovik");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->owned());
    EXPECT_EQ(shows.load(), 0);

    auto second = ClaimSingleInstance("MUTEX_TROVIK_TEST", L"TrovikarClientTest", L"Trovik");
    EXPECT_EQ(second, nullptr);
    EXPECT_TRUE(testsupport::WaitFor([&] { return shows.load() == 1; }));

    // Once the first instance ends, the next start is a first instance again.
    first.reset();
    auto third = ClaimSingleInstance("MUTEX_TROVIK_TEST", L"TrovikarClientTest", L"Trovik");
    EXPECT_NE(third, nullptr);
}

TEST(SingleInstance, ASecondStartWithoutAWindowToFindStillEnds) {
    testsupport::IsolatedEnv env;
    auto first = ClaimSingleInstance("MUTEX_TROVIK_TEST", L"NoSuchClass", L"Trovik");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ClaimSingleInstance("MUTEX_TROVIK_TEST", L"NoSuchClass", L"Trovik"), nullptr);
}

}  // namespace

#include "platform/OpenUrl.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/Folders.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/WaitFor.h"

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::ScopedEnv;

TEST(OpenUrl, RecordsUrlsWhenTheOverrideIsSet) {
    testsupport::IsolatedEnv env;
    const std::string log = env.root() / "opened.log";
    ScopedEnv record("TROVIK_OPEN_URL_LOG", log);
    EXPECT_TRUE(OpenUrl("http://127.0.0.1:8080/play/1.html"));
    EXPECT_TRUE(OpenUrl("http://127.0.0.1:8080/s?q=\xE4\xBA\xAC&x=1"));
    EXPECT_TRUE(OpenUrl("http://a/\nb"));  // stays one line
    EXPECT_FALSE(OpenUrl(""));
    EXPECT_FALSE(OpenUrl("--help"));
    EXPECT_EQ(ReadFile(log),
              "http://127.0.0.1:8080/play/1.html\n"
              "http://127.0.0.1:8080/s?q=\xE4\xBA\xAC&x=1\n"
              "http://a/%0Ab\n");
}

TEST(OpenUrl, FailsWhenTheRecordCannotBeWritten) {
    testsupport::IsolatedEnv env;
    ScopedEnv record("TROVIK_OPEN_URL_LOG", env.root() / "missing/opened.log");
    EXPECT_FALSE(OpenUrl("http://127.0.0.1/"));
}

TEST(OpenUrl, StartsXdgOpenWithoutTheOverride) {
    testsupport::IsolatedEnv env;
    // A stand-in xdg-open found through PATH records what it was asked to open.
    const std::string bin = env.root() / "bin";
    const std::string out = env.root() / "xdg-open.args";
    testsupport::WriteFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out +
                                                  ".tmp'; mv '" + out + ".tmp' '" + out + "'\n");
    chmod((bin + "/xdg-open").c_str(), 0755);
    ScopedEnv noRecord("TROVIK_OPEN_URL_LOG", std::nullopt);
    ScopedEnv path("PATH", bin + ":/usr/bin:/bin");
    EXPECT_TRUE(OpenUrl("http://127.0.0.1/a b?c=$HOME"));
    ASSERT_TRUE(testsupport::WaitFor([&] { return PathExists(out); }));
    EXPECT_EQ(ReadFile(out), "http://127.0.0.1/a b?c=$HOME\n");

    ScopedEnv noXdgOpen("PATH", env.root() / "empty");
    EXPECT_FALSE(OpenUrl("http://127.0.0.1/"));
}

}  // namespace
}  // namespace platform

#include "platform/DebugLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tools/testsupport/IsolatedEnv.h"

namespace platform {
namespace {

// Everything written to stderr while `write` runs.
template <typename Write>
std::string CaptureStderr(const testsupport::IsolatedEnv& env, Write write) {
    const std::string path = env.root() / "stderr";
    const int saved = dup(STDERR_FILENO);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, STDERR_FILENO);
    close(file);
    write();
    dup2(saved, STDERR_FILENO);
    close(saved);
    return testsupport::ReadFile(path);
}

TEST(DebugOutput, WritesLinesOnlyWhenEnabled) {
    testsupport::IsolatedEnv env;
    {
        testsupport::ScopedEnv on("TROVIK_DEBUG", "1");
        EXPECT_EQ(CaptureStderr(env,
                                [] {
                                    DebugOutput("MS - Update文件下载成功...");
                                    DebugOutput(L"本地版本小于服务版本...");
                                    DebugOutput("ends with a line end\n");
                                }),
                  "MS - Update文件下载成功...\n本地版本小于服务版本...\nends with a line end\n");
    }
    for (const char* value : {"0", "", "yes"}) {
        testsupport::ScopedEnv off("TROVIK_DEBUG", value);
        EXPECT_EQ(CaptureStderr(env, [] { DebugOutput("hidden"); }), "") << value;
    }
    testsupport::ScopedEnv unset("TROVIK_DEBUG", std::nullopt);
    EXPECT_EQ(CaptureStderr(env, [] { DebugOutput(L"hidden"); }), "");
}

}  // namespace
}  // namespace platform

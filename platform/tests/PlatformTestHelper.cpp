// A second process for the platform tests. Modes:
//   hold-mutex NAME                   prints "owned" or "exists", holds until stdin ends
//   register-window CLASS TITLE LOG   prints "ready"; each show request appends a line
//                                     to LOG; holds until stdin ends
//   write-keys PATH PREFIX COUNT      writes COUNT keys to section "Keys" of PATH,
//                                     alternating 8-bit and wide writes
//   ignore-term                       ignores SIGTERM, prints "ready", waits for stdin
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/CodePage.h"
#include "platform/NamedMutex.h"
#include "platform/ProfileFile.h"
#include "platform/WindowRegistry.h"

namespace {

void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void WaitForEndOfInput() {
    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
}

int WriteKeys(const std::string& path, const std::string& prefix, int count) {
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        const std::string key = prefix + std::to_string(i);
        if (i % 2 == 0)
            ok =
                platform::WriteProfileString("Keys", key, "value " + std::to_string(i), path) && ok;
        else
            ok = platform::WriteProfileString(L"Keys", platform::Utf8ToWide(key),
                                              L"值 " + std::to_wstring(i), path) &&
                 ok;
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "hold-mutex" && argc == 3) {
        platform::NamedMutex mutex(argv[2]);
        Say(mutex.owned() ? "owned" : (mutex.alreadyExists() ? "exists" : "failed"));
        WaitForEndOfInput();
        return 0;
    }
    if (mode == "register-window" && argc == 5) {
        const std::string log = argv[4];
        platform::WindowRegistration window(
            platform::Utf8ToWide(argv[2]), platform::Utf8ToWide(argv[3]),
            [log] { std::ofstream(log, std::ios::app) << "show\n"; });
        Say("ready");
        WaitForEndOfInput();
        return 0;
    }
    if (mode == "write-keys" && argc == 5) return WriteKeys(argv[2], argv[3], std::atoi(argv[4]));
    if (mode == "ignore-term") {
        signal(SIGTERM, SIG_IGN);
        Say("ready");
        WaitForEndOfInput();
        return 0;
    }
    std::fprintf(stderr, "unknown mode\n");
    return 2;
}

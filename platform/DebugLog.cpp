#include "DebugLog.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CodePage.h"

namespace platform {
namespace {

bool DebugEnabled() {
    const char* value = std::getenv("TROVIK_DEBUG");
    return value && std::strcmp(value, "1") == 0;
}

}  // namespace

void DebugOutput(std::string_view line) {
    if (!DebugEnabled()) return;
    std::string text(line);
    if (text.empty() || text.back() != '\n') text += '\n';
    // One write per line, so lines of different threads do not interleave.
    std::string_view rest = text;
    while (!rest.empty()) {
        ssize_t written = write(STDERR_FILENO, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        rest.remove_prefix(static_cast<size_t>(written));
    }
}

void DebugOutput(std::wstring_view line) {
    if (DebugEnabled()) DebugOutput(std::string_view(WideToUtf8(line)));
}

}  // namespace platform

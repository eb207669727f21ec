#include "OpenUrl.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "Process.h"
#include "UniqueFd.h"

namespace platform {
namespace {

// Appends the URL as one line; a line end inside it is written escaped so that
// every recorded URL stays one line.
bool RecordUrl(const std::string& url, const char* logPath) {
    std::string line;
    for (char c : url) {
        if (c == '\n')
            line += "%0A";
        else if (c == '\r')
            line += "%0D";
        else
            line += c;
    }
    line += '\n';
    UniqueFd fd(open(logPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    if (!fd.valid()) return false;
    // One write of an appending descriptor: concurrent recorders never interleave.
    return write(fd.get(), line.data(), line.size()) == static_cast<ssize_t>(line.size());
}

}  // namespace

bool OpenUrl(const std::string& url) {
    // xdg-open would read a leading "-" as an option.
    if (url.empty() || url.front() == '-') return false;
    if (const char* log = std::getenv("TROVIK_OPEN_URL_LOG"); log && *log)
        return RecordUrl(url, log);
    return StartDetached("xdg-open", {url});
}

}  // namespace platform

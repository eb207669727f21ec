#pragma once

#include <string>

namespace platform {

// Opens a URL (or file) in the user's default browser through xdg-open. When the
// environment variable TROVIK_OPEN_URL_LOG names a file, the URL is appended to
// that file as one line instead and no browser starts (tests and end-to-end checks
// use this). False when nothing could be started or recorded.
bool OpenUrl(const std::string& url);

}  // namespace platform

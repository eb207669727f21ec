#pragma once

// One blocking HTTP GET of a portal page with libcurl.

#include <cstddef>
#include <string>

#include "engine/PageGuard.h"

namespace vantrel {

// The whole transfer may take at most this long.
inline constexpr long kFetchTimeoutSeconds = 10;

// The largest body a page may have; a longer body is abandoned (the page is then
// empty), so a hostile server cannot fill the memory.
// The same bound as the pre-scan's.
inline constexpr size_t kMaxPageBytes = PageLimits{}.maxBytes;

// Receives the body of one transfer.
struct PageBuffer {
    std::string bytes;
    size_t limit = kMaxPageBytes;
    bool overflowed = false;
};

// libcurl's write callback: appends a chunk's bytes up to its first zero byte
// (a zero byte drops the rest of that chunk) and consumes the whole chunk. Returns
// 0, which aborts the transfer, without a buffer or when the body outgrows the
// buffer's limit (the buffer is then emptied).
size_t AppendChunk(char* data, size_t size, size_t count, void* buffer);

// GETs `url` into `page`: the body of the answer, whatever its status, or nothing
// when the transfer failed, timed out or ended before the body's announced length.
// Only http and https URLs are fetched. Returns false only when no HTTP handle could
// be created. Safe to call on several threads at once (one handle per call).
bool FetchPage(const std::string& url, std::string* page);

}  // namespace vantrel

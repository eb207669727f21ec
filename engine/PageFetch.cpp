#include "engine/PageFetch.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace vantrel {
namespace {

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

// libcurl's process-wide set-up must not run on two threads at once; callers may
// start engine operations on several threads together.
void InitLibcurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

size_t AppendChunk(char* data, size_t size, size_t count, void* buffer) {
    const size_t length = size * count;
    auto* page = static_cast<PageBuffer*>(buffer);
    if (!page) return 0;
    const void* zero = std::memchr(data, '\0', length);
    const size_t keep = zero ? static_cast<size_t>(static_cast<const char*>(zero) - data) : length;
    if (page->overflowed || keep > page->limit - page->bytes.size()) {
        page->overflowed = true;
        page->bytes.clear();
        page->bytes.shrink_to_fit();
        return 0;
    }
    page->bytes.append(data, keep);
    return length;
}

bool FetchPage(const std::string& url, std::string* page) {
    page->clear();
    InitLibcurlOnce();
    EasyHandle handle(curl_easy_init());
    if (!handle) return false;
    PageBuffer buffer;
    CURL* curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &buffer);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kFetchTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &AppendChunk);
    // The detail URLs come from the pages themselves: never let one reach a local
    // file or another protocol. No signals either, as the engine runs on a worker
    // thread of a bigger program.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // Only a transfer that ended normally is a page: one cut short, reset or timed out
    // would be read as a page whose later shows or episodes do not exist.
    if (curl_easy_perform(curl) == CURLE_OK && !buffer.overflowed) *page = std::move(buffer.bytes);
    return true;
}

}  // namespace vantrel

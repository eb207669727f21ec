#include "common/HttpRequest.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace {

void InitLibcurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

struct HttpRequestCallbacks {
    static size_t OnBody(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<HttpRequest*>(user);
        const size_t bytes = size * count;
        long status = 0;
        curl_easy_getinfo(self->handle_.get(), CURLINFO_RESPONSE_CODE, &status);
        // Only a 200 answer carries what the caller asked for.
        if (status != 200 || !self->sink_) return bytes;
        if (!self->sink_(std::string_view(data, bytes))) {
            self->sinkRefused_ = true;
            return 0;  // makes libcurl stop with a write error
        }
        return bytes;
    }

    static int OnTransferInfo(void* user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t,
                              curl_off_t) {
        auto* self = static_cast<HttpRequest*>(user);
        if (!self->progress_) return 0;
        const auto clamp = [](curl_off_t v) {
            return static_cast<std::uint64_t>(std::max<curl_off_t>(v, 0));
        };
        if (self->progress_(clamp(dlNow), clamp(dlTotal))) return 0;
        self->aborted_ = true;
        return 1;  // makes libcurl stop with CURLE_ABORTED_BY_CALLBACK
    }
};

void HttpRequest::HandleDeleter::operator()(void* handle) const {
    curl_easy_cleanup(handle);
}

void HttpRequest::ListDeleter::operator()(curl_slist* list) const {
    curl_slist_free_all(list);
}

HttpRequest::HttpRequest(HttpMethod method, const std::string& url, const std::string& userAgent)
    : url_(url) {
    InitLibcurlOnce();
    handle_.reset(curl_easy_init());
    if (!handle_) return;
    CURL* h = handle_.get();

    // Always from the origin server, never a cache's copy; no Accept header.
    curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
    if (list) list = curl_slist_append(list, "Pragma: no-cache");
    if (list) list = curl_slist_append(list, "Accept:");
    headers_.reset(list);

    curl_easy_setopt(h, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers_.get());
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, static_cast<long>(kPieceBytes));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &HttpRequestCallbacks::OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &HttpRequestCallbacks::OnTransferInfo);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
    SetProtocols("http");
    SetTimeouts(10, 30, 0);
    SetMethod(method);
}

HttpRequest::~HttpRequest() = default;

void HttpRequest::SetMethod(HttpMethod method) {
    if (!handle_) return;
    if (method == HttpMethod::Head)
        curl_easy_setopt(handle_.get(), CURLOPT_NOBODY, 1L);
    else
        curl_easy_setopt(handle_.get(), CURLOPT_HTTPGET, 1L);
}

void HttpRequest::SetProgress(ProgressFunction progress) {
    progress_ = std::move(progress);
    if (handle_) curl_easy_setopt(handle_.get(), CURLOPT_NOPROGRESS, progress_ ? 0L : 1L);
}

void HttpRequest::SetProtocols(const char* protocols) {
    if (!handle_) return;
    curl_easy_setopt(handle_.get(), CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(handle_.get(), CURLOPT_REDIR_PROTOCOLS_STR, protocols);
}

void HttpRequest::SetTimeouts(long connectSeconds, long stallSeconds, long totalSeconds) {
    if (!handle_) return;
    CURL* h = handle_.get();
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, connectSeconds);
    // Below one byte per second for stallSeconds counts as a stall.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, stallSeconds > 0 ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    totalSeconds_ = totalSeconds;
}

void HttpRequest::SetDeadline(std::chrono::steady_clock::time_point deadline) {
    deadline_ = deadline;
}

bool HttpRequest::Expired() const {
    return deadline_ != std::chrono::steady_clock::time_point::max() &&
           std::chrono::steady_clock::now() >= deadline_;
}

HttpOutcome HttpRequest::Perform() {
    status_ = 0;
    contentLength_ = -1;
    sinkRefused_ = false;
    aborted_ = false;
    if (!handle_) return outcome_ = HttpOutcome::NoAnswer;

    CURL* h = handle_.get();
    // The whole exchange, redirects included, ends by the deadline and within the
    // request's own total limit, whichever comes first.
    long limitMs = totalSeconds_ * 1000;
    if (deadline_ != std::chrono::steady_clock::time_point::max()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline_ - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return outcome_ = HttpOutcome::NoAnswer;
        if (limitMs == 0 || left < limitMs) limitMs = static_cast<long>(left);
    }
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limitMs);
    const CURLcode rc = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status_);
    curl_off_t length = -1;
    if (curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
        contentLength_ = length;

    if (status_ == 0)
        outcome_ = HttpOutcome::NoAnswer;
    else if (rc == CURLE_OK)
        outcome_ = HttpOutcome::Complete;
    else if (sinkRefused_)
        outcome_ = HttpOutcome::SinkRefused;
    else if (aborted_ || rc == CURLE_ABORTED_BY_CALLBACK)
        outcome_ = HttpOutcome::Aborted;
    else
        outcome_ = HttpOutcome::BodyCut;
    return outcome_;
}

bool SendRequestRetrying(HttpRequest* request) {
    if (!request || !request->valid()) return false;
    for (int attempt = 0; attempt < kSendAttempts && !request->Expired(); ++attempt) {
        request->Perform();
        if (request->status() == 200) return true;
    }
    return false;
}

std::string UrlScheme(const std::string& url) {
    InitLibcurlOnce();
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
    if (!parsed) return {};
    if (curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) !=
        CURLUE_OK)
        return {};
    char* part = nullptr;
    if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &part, 0) != CURLUE_OK || !part) return {};
    const std::unique_ptr<char, decltype(&curl_free)> owned(part, curl_free);
    std::string scheme = part;
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return scheme;
}

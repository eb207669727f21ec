#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct curl_slist;

enum class HttpMethod { Head, Get };

// How the last exchange of an HttpRequest ended.
enum class HttpOutcome {
    NotSent,      // not performed yet
    NoAnswer,     // no status line arrived: bad URL, refused or timed-out connection, ...
    Complete,     // the whole answer arrived
    BodyCut,      // the answer began but its body was cut off or stalled
    SinkRefused,  // the body sink refused a piece (for example a failed write)
    Aborted,      // the progress function asked to stop
};

// One HTTP request on its own libcurl easy handle (the handle is released with the
// object). The handle can be performed several times and switched between HEAD and
// GET; libcurl then keeps the connection open between the exchanges.
//
// Only the body of a 200 answer reaches the body sink, in pieces of at most
// kPieceBytes; the bodies of other answers are discarded. Redirects are followed
// within the allowed protocols. The request sends no Accept header and asks every
// cache on the way for a fresh copy.
class HttpRequest {
public:
    static constexpr std::size_t kPieceBytes = 10'240;

    // Returns false to stop the transfer.
    using BodySink = std::function<bool(std::string_view piece)>;
    // Bytes received so far and the announced total (0 when unknown); returns false to abort.
    using ProgressFunction = std::function<bool(std::uint64_t received, std::uint64_t total)>;

    // Defaults: plain HTTP only; connect within 10 s; a transfer that moves no byte for
    // 30 s is given up; no limit on the total time.
    HttpRequest(HttpMethod method, const std::string& url, const std::string& userAgent);
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // False when no handle could be made; such a request never performs.
    bool valid() const { return handle_ != nullptr; }
    const std::string& url() const { return url_; }

    void SetMethod(HttpMethod method);
    void SetBodySink(BodySink sink) { sink_ = std::move(sink); }
    void SetProgress(ProgressFunction progress);
    // Comma-separated libcurl protocol names allowed for the URL and for redirects.
    void SetProtocols(const char* protocols);
    // Seconds; 0 switches the limit off.
    void SetTimeouts(long connectSeconds, long stallSeconds, long totalSeconds);
    // Every later exchange must end by `deadline`: each Perform may take at most the
    // time left (redirects included), and one that would start after it fails at once
    // with NoAnswer, without touching the network.
    void SetDeadline(std::chrono::steady_clock::time_point deadline);
    // Whether a deadline is set and has passed.
    bool Expired() const;

    // One exchange with the server. Resets status and content length first.
    HttpOutcome Perform();

    HttpOutcome outcome() const { return outcome_; }
    // Status code of the last answer; 0 when none arrived.
    long status() const { return status_; }
    // Content length the last answer announced; -1 when it announced none.
    std::int64_t contentLength() const { return contentLength_; }

private:
    // libcurl's callbacks reach the members below through this.
    friend struct HttpRequestCallbacks;

    struct HandleDeleter {
        void operator()(void* handle) const;  // a CURL easy handle
    };
    struct ListDeleter {
        void operator()(curl_slist* list) const;
    };

    // The header list outlives the handle that points to it.
    std::unique_ptr<curl_slist, ListDeleter> headers_;
    std::unique_ptr<void, HandleDeleter> handle_;
    std::string url_;
    BodySink sink_;
    ProgressFunction progress_;
    long totalSeconds_ = 0;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
    HttpOutcome outcome_ = HttpOutcome::NotSent;
    long status_ = 0;
    std::int64_t contentLength_ = -1;
    bool sinkRefused_ = false;
    bool aborted_ = false;
};

// Number of times SendRequestRetrying sends a request.
inline constexpr int kSendAttempts = 10;

// Performs the request up to kSendAttempts times, without delay, until the server
// answers with status 200 or the request's deadline has passed. False for a null or
// unusable request and when no attempt got a 200. A 200 answer ends the attempts even when its body
// did not arrive whole: the request's outcome() tells.
bool SendRequestRetrying(HttpRequest* request);

// The URL's scheme in lower case ("http", "https", ...), or "" when the text is not
// an absolute URL.
std::string UrlScheme(const std::string& url);

#include "common/HttpDownload.h"

#include <functional>
#include <string_view>

#include "common/HttpRequest.h"
#include "common/StagedFile.h"

namespace {

// The HEAD probe and the GET. `begin` is called before each send of the GET and
// resets the receiver (a false return ends the download); `sink` takes the pieces.
bool ProbeAndFetch(const std::string& url, const std::function<bool()>& begin,
                   const HttpRequest::BodySink& sink, const DownloadLimits& limits = {}) {
    if (UrlScheme(url) != "http") return false;

    HttpRequest request(HttpMethod::Head, url, kHttpAgentName);
    if (limits.deadline.count() > 0) {
        const auto end = std::chrono::steady_clock::now() + limits.deadline;
        request.SetProgress(
            [end](std::uint64_t, std::uint64_t) { return std::chrono::steady_clock::now() < end; });
    }
    if (!SendRequestRetrying(&request)) return false;
    // An absent length (-1) does not stop the download.
    if (request.contentLength() > limits.maxBytes) return false;

    request.SetMethod(HttpMethod::Get);
    request.SetBodySink(sink);
    for (int attempt = 0; attempt < kBodyAttempts; ++attempt) {
        if (!begin()) return false;
        if (!SendRequestRetrying(&request)) return false;
        switch (request.outcome()) {
            case HttpOutcome::Complete:
                return true;
            case HttpOutcome::BodyCut:
                continue;  // read again: the body is requested once more from its start
            default:
                return false;  // the receiver refused a piece, or the transfer was stopped
        }
    }
    return false;
}

}  // namespace

bool HttpDownloadFile(std::string url, std::string filePath) {
    return HttpDownloadFile(std::move(url), std::move(filePath), DownloadLimits{});
}

bool HttpDownloadFile(std::string url, std::string filePath, const DownloadLimits& limits) {
    if (url.empty() || filePath.empty()) return false;
    StagedFile file(filePath);
    std::int64_t received = 0;
    const bool fetched = ProbeAndFetch(
        url,
        [&] {
            received = 0;
            return file.Open();
        },
        [&](std::string_view piece) {
            received += static_cast<std::int64_t>(piece.size());
            return received <= limits.maxBytes && file.Write(piece);
        },
        limits);
    return fetched && file.Commit();
}

std::string HttpFetchText(std::string url) {
    if (url.empty()) return {};
    std::string text;
    const bool fetched = ProbeAndFetch(
        url,
        [&] {
            text.clear();
            return true;
        },
        [&](std::string_view piece) {
            text.append(piece);
            return true;
        });
    return fetched ? text : std::string();
}

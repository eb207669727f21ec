#include "common/HttpDownload.h"

#include <functional>

#include "common/HttpRequest.h"
#include "common/StagedFile.h"

namespace {

// The HEAD probe and the GET. `begin` is called before each send of the GET and
// resets the receiver (a false return ends the download); `sink` takes the pieces.
// A HEAD announcing more than `maxBytes` refuses the download.
bool ProbeAndFetch(const std::string& url, std::chrono::milliseconds deadline,
                   std::int64_t maxBytes, const std::function<bool()>& begin,
                   const HttpRequest::BodySink& sink) {
    if (UrlScheme(url) != "http") return false;

    HttpRequest request(HttpMethod::Head, url, kHttpAgentName);
    request.SetDeadline(std::chrono::steady_clock::now() + deadline);
    if (!SendRequestRetrying(&request)) return false;
    // An absent length (-1) does not stop the download.
    const std::int64_t announced = request.contentLength();
    if (announced > maxBytes) return false;

    request.SetMethod(HttpMethod::Get);
    std::int64_t received = 0;
    request.SetBodySink([&](std::string_view piece) {
        received += static_cast<std::int64_t>(piece.size());
        // More than the HEAD announced is not the object it described.
        if (announced >= 0 && received > announced) return false;
        return sink(piece);
    });
    for (int attempt = 0; attempt < kBodyAttempts; ++attempt) {
        if (!begin()) return false;
        received = 0;
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

bool HttpDownloadFile(std::string url, std::string filePath, std::chrono::milliseconds deadline) {
    DownloadLimits limits;
    limits.deadline = deadline;
    return HttpDownloadFile(std::move(url), std::move(filePath), limits);
}

bool HttpDownloadFile(std::string url, std::string filePath, const DownloadLimits& limits) {
    if (url.empty() || filePath.empty()) return false;
    StagedFile file(filePath);
    std::int64_t received = 0;
    const bool fetched = ProbeAndFetch(
        url, limits.deadline, limits.maxBytes,
        [&] {
            received = 0;
            return file.Open();
        },
        [&](std::string_view piece) {
            // A body without an announced length stops at the limit as well.
            received += static_cast<std::int64_t>(piece.size());
            return received <= limits.maxBytes && file.Write(piece);
        });
    return fetched && file.Commit();
}

std::string HttpFetchText(std::string url, std::chrono::milliseconds deadline) {
    return HttpFetchText(std::move(url), static_cast<std::int64_t>(kFetchTextLimit), deadline);
}

std::string HttpFetchText(std::string url, std::int64_t maxBytes,
                          std::chrono::milliseconds deadline) {
    if (url.empty()) return {};
    std::string text;
    const bool fetched = ProbeAndFetch(
        url, deadline, maxBytes,
        [&] {
            text.clear();
            return true;
        },
        [&](std::string_view piece) {
            // Stops reading past the limit instead of keeping what a server pours in.
            if (static_cast<std::int64_t>(text.size() + piece.size()) > maxBytes) return false;
            text.append(piece);
            return true;
        });
    return fetched ? text : std::string();
}

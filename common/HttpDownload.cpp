#include "common/HttpDownload.h"

#include <functional>

#include "common/HttpRequest.h"
#include "common/StagedFile.h"

namespace {

// The HEAD probe and the GET. `begin` is called before each send of the GET and
// resets the receiver (a false return ends the download); `sink` takes the pieces.
bool ProbeAndFetch(const std::string& url, std::int64_t maxBytes,
                   const std::function<bool()>& begin, const HttpRequest::BodySink& sink) {
    if (UrlScheme(url) != "http") return false;

    HttpRequest request(HttpMethod::Head, url, kHttpAgentName);
    if (!SendRequestRetrying(&request)) return false;
    // An absent length (-1) does not stop the download.
    if (request.contentLength() > maxBytes) return false;

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
    if (url.empty() || filePath.empty()) return false;
    StagedFile file(filePath);
    const bool fetched = ProbeAndFetch(
        url, kMaxDownloadBytes, [&] { return file.Open(); },
        [&](std::string_view piece) { return file.Write(piece); });
    return fetched && file.Commit();
}

std::string HttpFetchText(std::string url, std::int64_t maxBytes) {
    if (url.empty()) return {};
    std::string text;
    const bool fetched = ProbeAndFetch(
        url, maxBytes,
        [&] {
            text.clear();
            return true;
        },
        [&](std::string_view piece) {
            if (static_cast<std::int64_t>(text.size() + piece.size()) > maxBytes) return false;
            text.append(piece);
            return true;
        });
    return fetched ? text : std::string();
}

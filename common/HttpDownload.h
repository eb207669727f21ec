#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// Downloads over plain HTTP with a header probe: a HEAD request first, then a GET of
// the same object on the same connection, each sent up to ten times until the server
// answers 200 (SendRequestRetrying). A HEAD that announces more than
// kMaxDownloadBytes refuses the download; an answer without a length is fetched
// normally. Any scheme other than http:// is refused before any network access.
// The User-Agent is kHttpAgentName.

inline constexpr char kHttpAgentName[] = "MyAppByDovakB";
inline constexpr std::int64_t kMaxDownloadBytes = 1'048'576'000;  // 1,000 MiB
// Sends of the GET when its body keeps breaking off; each starts the body afresh.
inline constexpr int kBodyAttempts = 3;

// Fetches `url` into the file `filePath`, streaming the body in pieces of at most
// 10,240 bytes. True when the whole body was written. The body goes to a temporary
// file in the same folder that replaces `filePath` only once complete: after a
// failure `filePath` is as it was (absent, or the previous file).
bool HttpDownloadFile(std::string url, std::string filePath);

// Tighter bounds for one download of a file the server chooses.
struct DownloadLimits {
    // A body larger than this fails the download, whether the HEAD answer announces it
    // or the GET delivers it.
    std::int64_t maxBytes = kMaxDownloadBytes;
    // The whole exchange, every retry included, ends with a failure after this long;
    // zero: no limit beyond the stall limit of each transfer.
    std::chrono::milliseconds deadline{0};
};
bool HttpDownloadFile(std::string url, std::string filePath, const DownloadLimits& limits);

// The same exchange, returning the body as text; "" on any failure.
std::string HttpFetchText(std::string url);

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

// Downloads over plain HTTP with a header probe: a HEAD request first, then a GET of
// the same object on the same connection, each sent up to ten times until the server
// answers 200 (SendRequestRetrying). A HEAD that announces more than
// kMaxDownloadBytes refuses the download; an answer without a length is fetched
// normally, and a GET whose body runs past the length the HEAD announced is cut off
// and fails. A body that ends before its announced length, or whose connection is
// reset, is a failure. Any scheme other than http:// is refused before any network
// access. The User-Agent is kHttpAgentName.
//
// Every call ends within its deadline, which covers the whole exchange: the HEAD, the
// GET, their repeated sends and any redirects.

inline constexpr char kHttpAgentName[] = "MyAppByDovakB";
inline constexpr std::int64_t kMaxDownloadBytes = 1'048'576'000;  // 1,000 MiB
// Sends of the GET when its body keeps breaking off; each starts the body afresh.
inline constexpr int kBodyAttempts = 3;
// The deadline of a call that names none: lists, manifests and version files are small.
inline constexpr std::chrono::milliseconds kDownloadDeadline = std::chrono::seconds(60);
// HttpFetchText keeps at most this much of a body (a version file holds a few bytes);
// a longer body, or a HEAD announcing one, fails.
inline constexpr std::size_t kFetchTextLimit = 1 << 20;

// Fetches `url` into the file `filePath`, streaming the body in pieces of at most
// 10,240 bytes. True when the whole body was written. The body goes to a temporary
// file in the same folder that replaces `filePath` only once complete: after a
// failure `filePath` is as it was (absent, or the previous file).
bool HttpDownloadFile(std::string url, std::string filePath,
                      std::chrono::milliseconds deadline = kDownloadDeadline);

// Tighter bounds for one download of a file the server chooses.
struct DownloadLimits {
    // A body larger than this fails the download, whether the HEAD answer announces it
    // or the GET delivers it without announcing a length.
    std::int64_t maxBytes = kMaxDownloadBytes;
    // The whole exchange, every retry and redirect included.
    std::chrono::milliseconds deadline = kDownloadDeadline;
};
bool HttpDownloadFile(std::string url, std::string filePath, const DownloadLimits& limits);

// The same exchange, returning the body as text; "" on any failure, and for a body
// longer than kFetchTextLimit.
std::string HttpFetchText(std::string url, std::chrono::milliseconds deadline = kDownloadDeadline);
// The same with the caller's cap instead of kFetchTextLimit: a body (or an announced
// length) above `maxBytes` fails.
std::string HttpFetchText(std::string url, std::int64_t maxBytes,
                          std::chrono::milliseconds deadline = kDownloadDeadline);

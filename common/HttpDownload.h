#pragma once

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

// The same exchange, returning the body as text; "" on any failure. A body (or an
// announced length) above `maxBytes` counts as a failure.
std::string HttpFetchText(std::string url, std::int64_t maxBytes = kMaxDownloadBytes);

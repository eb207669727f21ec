#pragma once

#include <string>

class CBindCallback;

// Ten minutes, the time limit CBindCallback enforces.
inline constexpr long kUrlDownloadDeadlineSeconds = 600;

// Downloads `url` (http:// or https://) into the file `filePath` with one GET and
// reports progress to `callback` (may be null), which can also abort the download
// (its ten-minute limit). True when the server answered 200 and the whole body was
// written. Redirects are followed; there is no header probe and no retry. The whole
// download, redirects included, ends within kUrlDownloadDeadlineSeconds; a body that
// ends before its announced length or whose connection is reset is a failure. The body
// goes to a temporary file next to `filePath` that replaces it only once complete,
// so after a failure or an abort `filePath` is as it was.
bool UrlDownloadToFile(const std::string& url, const std::string& filePath,
                       CBindCallback* callback);

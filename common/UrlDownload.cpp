#include "common/UrlDownload.h"

#include "common/BindCallback.h"
#include "common/HttpRequest.h"
#include "common/StagedFile.h"

namespace {

constexpr char kAgentName[] = "Trovik";
constexpr char kProtocols[] = "http,https";

}  // namespace

bool UrlDownloadToFile(const std::string& url, const std::string& filePath,
                       CBindCallback* callback) {
    if (url.empty() || filePath.empty()) return false;
    const std::string scheme = UrlScheme(url);
    if (scheme != "http" && scheme != "https") return false;

    HttpRequest request(HttpMethod::Get, url, kAgentName);
    if (!request.valid()) return false;
    request.SetProtocols(kProtocols);
    // A transfer that stalls ends after a minute; one that crawls ends at the same ten
    // minutes the callback allows, redirects included, also when there is no callback.
    request.SetTimeouts(10, 60, kUrlDownloadDeadlineSeconds);

    StagedFile file(filePath);
    if (!file.Open()) return false;
    request.SetBodySink([&](std::string_view piece) { return file.Write(piece); });
    if (callback) {
        request.SetProgress([callback](std::uint64_t received, std::uint64_t total) {
            return callback->OnProgress(received, total) != CBindCallback::E_ABORT;
        });
    }
    if (request.Perform() != HttpOutcome::Complete || request.status() != 200) return false;
    return file.Commit();
}

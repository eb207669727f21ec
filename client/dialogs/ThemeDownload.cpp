#include "client/dialogs/ThemeDownload.h"

#include <system_error>
#include <thread>

#include "common/BindCallback.h"
#include "common/UrlDownload.h"

using namespace UiLib;

namespace {

// Hands the percentage to the window as a posted message, once per change, so that a
// fast download does not flood the window's queue.
class PostedProgress final : public IProgressTarget {
public:
    PostedProgress(HWND window, WPARAM id) : window_(window), id_(id) {}
    void SetProgress(int percent) override {
        if (percent == last_) return;
        last_ = percent;
        PostMessageW(window_, UMSG_THEME_PROGRESS, id_, percent);
    }

private:
    HWND window_;
    WPARAM id_;
    int last_ = -1;
};

// The download's callback: the ten-minute limit and the progress of CBindCallback,
// plus the user's cancel and the size limit.
class ThemeCallback final : public CBindCallback {
public:
    explicit ThemeCallback(const ThemeDownload& download) : download_(download) {}
    HRESULT OnProgress(std::uint64_t received, std::uint64_t total) override {
        if (download_.cancelled() || received > kThemeMaxBytes || total > kThemeMaxBytes) {
            return E_ABORT;
        }
        return CBindCallback::OnProgress(received, total);
    }

private:
    const ThemeDownload& download_;
};

void Run(const std::shared_ptr<ThemeDownload>& download, const std::string& url, HWND window) {
    PostedProgress bar(window, download->id());
    ThemeCallback callback(*download);
    callback.progress = &bar;
    callback.startTick = callback.Now();
    const bool ok =
        !download->cancelled() && UrlDownloadToFile(url, download->filePath(), &callback);
    PostMessageW(window, UMSG_THEME_DONE, download->id(), ok && !download->cancelled() ? 1 : 0);
}

}  // namespace

std::shared_ptr<ThemeDownload> ThemeDownload::Start(std::string url, std::string filePath,
                                                    HWND window, WPARAM id) {
    auto download = std::make_shared<ThemeDownload>(std::move(filePath), id);
    try {
        // Never joined: it ends on its own (done, failed, cancelled or timed out) and
        // holds nothing of the window.
        std::thread(Run, download, std::move(url), window).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return download;
}

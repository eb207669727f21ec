#include "updater/UpdateSession.h"

#include "platform/DebugLog.h"
#include "updater/Morvane.h"

void UpdateSession::SetLabel(const std::wstring& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        label_ = text;
    }
    UiLib::PostMessageW(window, UMSG_LABEL, 0, 0);
}

void UpdateSession::SetProgress(int percent) {
    if (lastPercent_.exchange(percent) == percent) return;
    UiLib::PostMessageW(window, UMSG_PROGRESS, static_cast<UiLib::WPARAM>(percent), 0);
}

std::wstring UpdateSession::Label() {
    std::lock_guard<std::mutex> lock(mutex_);
    return label_;
}

void UpdateThreadProc(const std::shared_ptr<UpdateSession>& session) {
    try {
        session->result = RunUpdateCheck(session->config);
    } catch (const std::exception& error) {
        platform::DebugOutput(std::string("MS - 检测失败: ") + error.what());
        session->result = CheckResult{};
    }
    const CheckResult& result = session->result;
    if (result.outcome == CheckOutcome::kDownload) {
        bool success = false;
        try {
            success = DownloadUpdateFiles(session->config, result.updateList, result.serverVersion,
                                          *session);
        } catch (const std::exception&) {
            success = false;
        }
        UiLib::SendMessageW(session->window, UMSG_DOWNLOAD_DONE, 0, success ? 1 : 0);
    } else {
        UiLib::SendMessageW(session->window, UMSG_CHECK_DONE,
                            static_cast<UiLib::WPARAM>(result.outcome), 0);
    }
    session->working = false;
}

#include "client/dialogs/SkinSetDlg.h"

#include <cstdio>

#include "client/core/ClientSettings.h"
#include "client/dialogs/ClientDialogs.h"
#include "client/dialogs/SkinPictureItemUI.h"
#include "client/dialogs/ThemeDownload.h"
#include "client/dialogs/ThemeFileName.h"
#include "platform/Folders.h"

using namespace UiLib;

CSkinSetDlg::CSkinSetDlg(CMsFrameWnd& owner) : owner_(owner) {}

CSkinSetDlg::~CSkinSetDlg() {
    CancelDownload();
}

LPCTSTR CSkinSetDlg::GetWindowClassName() const {
    return L"SkinSetDlg";
}

CDuiString CSkinSetDlg::GetSkinFile() {
    return L"SkinSetDlg.xml";
}

void CSkinSetDlg::InitWindow() {
    CControlUI* found = m_PaintManager.FindControl(L"proDown");
    progress_ = found ? static_cast<CProgressUI*>(found->GetInterface(L"Progress")) : nullptr;
    if (!progress_) {
        // Without a bar in the layout the progress goes to one that shows nowhere.
        spareProgress_ = std::make_unique<CProgressUI>();
        progress_ = spareProgress_.get();
    }
    CMsFrameWnd::InitWindow();
}

CControlUI* CSkinSetDlg::CreateControl(LPCTSTR pstrClass) {
    if (pstrClass && EqualsNoCase(pstrClass, L"SkinPictureItem")) return new CSkinPictureItemUI;
    return nullptr;
}

LRESULT CSkinSetDlg::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    // Closing the dialog gives up its download: nothing of it is kept or applied.
    CancelDownload();
    return CMsFrameWnd::OnDestroy(uMsg, wParam, lParam, bHandled);
}

LRESULT CSkinSetDlg::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    // Reports of a download that was cancelled since are stale and ignored.
    const bool current = download_ && download_->id() == wParam;
    if (uMsg == UMSG_THEME_PROGRESS) {
        if (current) progress_->SetValue(static_cast<int>(lParam));
        return 0;
    }
    if (uMsg == UMSG_THEME_DONE) {
        if (current) OnDownloadDone(lParam != 0);
        return 0;
    }
    return CMsFrameWnd::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

void CSkinSetDlg::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender &&
        msg.pSender->GetName() == L"SkinPictureItem") {
        OnThumbnailClick(*msg.pSender);
    }
    CMsFrameWnd::Notify(msg);
}

void CSkinSetDlg::OnThumbnailClick(CControlUI& thumbnail) {
    const std::wstring name = ThemeFileName(thumbnail.GetBkImage());
    // A thumbnail without a usable file name is no choice at all: a running download
    // goes on.
    if (name.empty()) return;
    const ClientPaths& paths = ProcessClientPaths();
    const std::string folder = paths.ThemeFolder();
    platform::MakeDirectoryPath(folder);
    const std::string localPath = folder + WideToUtf8(name);
    // The same picture clicked again while it arrives: its download goes on.
    if (download_ && download_->filePath() == localPath) return;

    CancelDownload();
    progress_->SetVisible(false);
    if (IsUsablePicture(localPath)) {
        ApplyBackground(localPath);
        return;
    }

    const RECT thumb = thumbnail.GetPos();
    progress_->SetPos(RECT{thumb.left, thumb.bottom - kBarHeight, thumb.right, thumb.bottom});
    progress_->SetValue(0);
    progress_->SetVisible(true);
    const std::string url = ThemeUrl(ProcessClientSettings().ThemeBaseUrl, name);
    download_ = ThemeDownload::Start(url, localPath, m_hWnd, ++lastDownloadId_);
}

void CSkinSetDlg::OnDownloadDone(bool complete) {
    const std::string path = download_->filePath();
    download_.reset();
    // A failed download leaves everything as it was; the bar stays at its last value
    // until another thumbnail is clicked.
    if (!complete) return;
    if (!IsUsablePicture(path)) {
        // The server answered with something that is no picture (an error page, a
        // truncated file): it must not become the background, now or at the next start.
        std::remove(path.c_str());
        return;
    }
    progress_->SetVisible(false);
    ApplyBackground(path);
}

void CSkinSetDlg::ApplyBackground(const std::string& imagePath) {
    const std::wstring wide = Utf8ToWide(imagePath);
    SetBackground(wide);
    owner_.SetBackground(wide);
    SaveBackGround(wide);
}

bool CSkinSetDlg::IsUsablePicture(const std::string& imagePath) {
    if (!platform::PathExists(imagePath)) return false;
    return CRenderEngine::GetImageSize(&m_PaintManager, Utf8ToWide(imagePath).c_str()).cx > 0;
}

void CSkinSetDlg::CancelDownload() {
    if (download_) download_->Cancel();
    download_.reset();
}

void OpenSkinDialog(CMsFrameWnd& owner) {
    CSkinSetDlg dlg(owner);
    // A captioned, clipped pop-up like the main window, kept off the taskbar.
    if (!dlg.Create(owner.GetHWND(), L"皮肤与窗口调整", 0x96C80000, 0x100)) return;
    dlg.CenterWindow();
    dlg.ShowModal();
}

#pragma once

// CSkinSetDlg: the background chooser ("SkinSetDlg.xml"). A click on a thumbnail
// (CSkinPictureItemUI) puts the full-size picture of the same file name behind this
// dialog and its owner and stores it as the user's background. A picture that is not
// yet in the data folder's "Theme/" is first downloaded from the update server on a
// worker thread while "proDown" shows the progress over the thumbnail's bottom edge;
// closing the dialog or clicking another thumbnail cancels that download, and a
// cancelled or failed download changes nothing.

#include <memory>
#include <string>

#include "client/frame/MsFrameWnd.h"

class ThemeDownload;

class CSkinSetDlg : public CMsFrameWnd {
public:
    // The height of the bar over the clicked thumbnail's bottom edge.
    static constexpr int kBarHeight = 7;

    explicit CSkinSetDlg(CMsFrameWnd& owner);
    // Cancels a download still running.
    ~CSkinSetDlg() override;

    UiLib::LPCTSTR GetWindowClassName() const override;
    void InitWindow() override;
    UiLib::CDuiString GetSkinFile() override;
    UiLib::LRESULT OnDestroy(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                             UiLib::BOOL& bHandled) override;
    UiLib::LRESULT HandleCustomMessage(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                                       UiLib::BOOL& bHandled) override;
    void Notify(UiLib::TNotifyUI& msg) override;
    // "SkinPictureItem" (any case) becomes a CSkinPictureItemUI.
    UiLib::CControlUI* CreateControl(UiLib::LPCTSTR pstrClass) override;

    // "proDown", or a bar outside the layout when the skin has none.
    UiLib::CProgressUI* progressBar() const { return progress_; }
    // True from the start of a download until its end has been handled.
    bool downloading() const { return download_ != nullptr; }

private:
    void OnThumbnailClick(UiLib::CControlUI& thumbnail);
    void OnDownloadDone(bool complete);
    // Shows the picture behind both windows and stores it as the user's background.
    void ApplyBackground(const std::string& imagePath);
    // False when the file is missing or is no picture the framework can draw.
    bool IsUsablePicture(const std::string& imagePath);
    void CancelDownload();

    CMsFrameWnd& owner_;
    UiLib::CProgressUI* progress_ = nullptr;
    std::unique_ptr<UiLib::CProgressUI> spareProgress_;  // when the layout has no "proDown"
    std::shared_ptr<ThemeDownload> download_;            // the running download, or null
    UiLib::WPARAM lastDownloadId_ = 0;
};

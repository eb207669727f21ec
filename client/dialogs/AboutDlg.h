#pragma once

// CAboutDlg: the about box ("AboutDlg.xml"): "当前版本 : " and the client's file
// version in "txtAppVersion"; "btnAppWebSite" opens the address in its user data in the
// browser and leaves the box open; "btnOk" closes it with 6.

#include <string>

#include "client/dialogs/ClientDialogs.h"
#include "client/frame/MsFrameWnd.h"

class CAboutDlg : public CMsFrameWnd {
public:
    // `versionText`: "1.0.1.102"-style, or "" when the executable carries none.
    explicit CAboutDlg(std::string versionText) : versionText_(std::move(versionText)) {}
    ~CAboutDlg() override = default;

    UiLib::LPCTSTR GetWindowClassName() const override;
    void InitWindow() override;
    UiLib::CDuiString GetSkinFile() override;
    void Notify(UiLib::TNotifyUI& msg) override;

private:
    std::string versionText_;
};

#pragma once

// CConfigDlg: the settings dialog ("ConfigDlg.xml"). Its four check boxes show the
// flags of the same names of the process's ClientSettings; "btnOk" stores them, applies
// the autostart entry and closes with 6; "btnCancel" closes with 7 and changes nothing.

#include "client/dialogs/ClientDialogs.h"
#include "client/frame/MsFrameWnd.h"

class CConfigDlg : public CMsFrameWnd {
public:
    CConfigDlg() = default;
    ~CConfigDlg() override = default;

    UiLib::LPCTSTR GetWindowClassName() const override;
    UiLib::CDuiString GetSkinFile() override;
    // Builds the layout, then ticks the boxes from the settings.
    UiLib::LRESULT OnCreate(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                            UiLib::BOOL& bHandled) override;
    void Notify(UiLib::TNotifyUI& msg) override;

private:
    // Null when the layout lacks the box: that flag is then left as it is.
    UiLib::CCheckBoxUI* autoStart_ = nullptr;
    UiLib::CCheckBoxUI* minShowInBar_ = nullptr;
    UiLib::CCheckBoxUI* quitOnClose_ = nullptr;
    UiLib::CCheckBoxUI* showFloatingWindow_ = nullptr;
};

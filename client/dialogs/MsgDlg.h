#pragma once

// CMsgDlg: the question asked before the client quits ("MsgDlg.xml"). "btnOk" closes
// it with 6, "btnCancel" with 7; any other way of closing gives what the modal loop
// returns for it.

#include "client/frame/MsFrameWnd.h"

class CMsgDlg : public CMsFrameWnd {
public:
    CMsgDlg() = default;
    ~CMsgDlg() override = default;

    UiLib::LPCTSTR GetWindowClassName() const override;
    UiLib::CDuiString GetSkinFile() override;
    void Notify(UiLib::TNotifyUI& msg) override;
};

// The answers of the quit question.
constexpr int kAnswerQuit = 6;  // IDYES of the question box family, "btnOk"
constexpr int kAnswerStay = 7;  // "btnCancel"

// Asks whether to quit, modally over `owner`; returns the code the dialog closed with.
// Only kAnswerQuit means "quit".
int ShowQuitConfirm(UiLib::HWND owner);

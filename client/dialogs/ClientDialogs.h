#pragma once

// The settings dialog, the background chooser and the about box, each run modally
// over the main window (ConfigDlg.h, SkinSetDlg.h, AboutDlg.h). The quit question is
// in MsgDlg.h.

#include "uilib/UiLib.h"

class CMsFrameWnd;

// The close codes of the dialogs' buttons: "btnOk" and "btnCancel".
constexpr int kDialogOk = 6;
constexpr int kDialogCancel = 7;

// Runs the settings dialog; on "btnOk" shows or hides the floating window (a null
// handle is tolerated) and saves the settings.
void OpenSettings(UiLib::HWND owner);

// Runs the background chooser bound to `owner`, whose background follows the choice.
void OpenSkinDialog(CMsFrameWnd& owner);

// Runs the about box; returns its close code.
int ShowAbout(UiLib::HWND owner);

#pragma once

// The settings dialog, the background chooser and the about box, each run modally
// over the main window.
//
// Not built yet: the three operations below open nothing and change no setting; each
// call is recorded (client/mainwnd/PendingCalls.h). The quit question is in MsgDlg.h.

#include "uilib/UiLib.h"

class CMsFrameWnd;

// Runs the settings dialog; on "btnOk" applies the floating window's visibility and
// saves the settings.
void OpenSettings(UiLib::HWND owner);

// Runs the background chooser bound to `owner`, whose background follows the choice.
void OpenSkinDialog(CMsFrameWnd& owner);

// Runs the about box; returns its close code.
int ShowAbout(UiLib::HWND owner);

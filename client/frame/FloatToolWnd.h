#pragma once

// CFloatingToolWindow: the small always-on-top badge ("FloatToolWindow.xml"). Dragged
// with the left button, a double-click brings the main window, the right button opens
// the tray menu, whose chosen items it passes on to the main window.

#include <memory>

#include "uilib/UiLib.h"

class CFloatingToolWindow : public UiLib::WindowImplBase {
public:
    UiLib::LPCTSTR GetWindowClassName() const override { return L"FloatToolWindow"; }
    UiLib::CDuiString GetSkinFolder() override { return L"Skin"; }
    UiLib::CDuiString GetSkinFile() override { return L"FloatToolWindow.xml"; }
    UiLib::LRESULT HandleCustomMessage(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                                       UiLib::BOOL& bHandled) override;
    UiLib::LRESULT OnDestroy(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                             UiLib::BOOL& bHandled) override;
};

// The window's title.
inline constexpr const wchar_t* kFloatingWindowTitle = L"悬浮窗";
// The default corner: this far from the top and the right edge of the primary screen.
inline constexpr int kFloatingCornerGap = 20;

// Where a window of `size` goes when the stored position is (posX, posY): there, when
// it is a position the user chose (not both 0 or less) and the whole window lies on
// the screen `screen` that holds it; else the default corner of `primary`. `replaced`
// tells which.
UiLib::POINT FloatingWindowPosition(int posX, int posY, UiLib::SIZE size, const UiLib::RECT* screen,
                                    const UiLib::RECT& primary, bool* replaced);

// Creates the floating window, places it (a replaced position is also stored in
// PosX/PosY), records its handle process-wide (FloatingWindowHandle) and shows it when
// ShowFloatingWindow is on. On a desktop without a tray it is shown anyway, and
// ShowFloatingWindow turned on in memory: its menu is then the way to every command.
// Null when no window could be made.
std::unique_ptr<CFloatingToolWindow> CreateFloatingWindow();

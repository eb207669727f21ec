#pragma once

// The base of every skinned client window (the main window and the dialogs): the
// client's skin folder and the user's chosen background image.

#include "uilib/UiLib.h"

class CMsFrameWnd : public UiLib::WindowImplBase {
public:
    ~CMsFrameWnd() override = default;

    // Looks up the "background" control and applies the saved background image when
    // its file exists. Derived windows call this as the last step of their own.
    void InitWindow() override;
    // "Skin": the folder below the installation that holds the skin archive.
    UiLib::CDuiString GetSkinFolder() override;

    // Shows `imagePath` as the background; an empty path or a layout without a
    // "background" control changes nothing.
    void SetBackground(const std::wstring& imagePath);

protected:
    CMsFrameWnd() = default;

    UiLib::CControlUI* backgroundControl = nullptr;
};

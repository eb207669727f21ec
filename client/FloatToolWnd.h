#pragma once

// The small always-on-top floating tool window ("FloatToolWindow.xml").
//
// Not built yet: the class only names its window class and layout, and
// CreateFloatingWindow creates no window (each call is recorded in
// client/mainwnd/PendingCalls.h), so the main window runs without one.

#include <memory>

#include "uilib/UiLib.h"

class CFloatToolWnd : public UiLib::WindowImplBase {
public:
    UiLib::LPCTSTR GetWindowClassName() const override { return L"FloatToolWindow"; }
    UiLib::CDuiString GetSkinFolder() override { return L"Skin"; }
    UiLib::CDuiString GetSkinFile() override { return L"FloatToolWindow.xml"; }
};

// Creates, places and (when ShowFloatingWindow is on) shows the floating window.
std::unique_ptr<CFloatToolWnd> CreateFloatingWindow();

#pragma once

// A framework window built from one layout of the packed client skin (Skin/SkinRes.zip
// of the build), for the skin's tests and its screenshot tool.

#include <string>
#include <vector>

#include "uilib/UiLib.h"

namespace skintest {

using namespace UiLib;

// Points the process's skin at the packed archive (idempotent); false when it is missing.
bool UseSkinArchive(const std::string& archive);

// Stands in for the client's background thumbnail class: a button with a display name
// that it shows, white on a frame, while hovered (as the client's control does).
class CThumbStandInUI : public CButtonUI {
public:
    LPCTSTR GetClass() const override { return L"SkinPictureItemUI"; }
    LPVOID GetInterface(LPCTSTR name) override;
    void SetAttribute(LPCTSTR name, LPCTSTR value) override;
    void PaintText(HDC hDC) override;
    std::wstring bkname;
};

class SkinWindow : public WindowImplBase {
public:
    explicit SkinWindow(std::wstring layout) : layout_(std::move(layout)) {}

    // Creates the window, shown, and returns its handle (null on failure).
    HWND Make();

    LPCTSTR GetWindowClassName() const override { return L"TrovikSkinTest"; }
    CDuiString GetSkinFile() override { return layout_; }
    // The client's own classes of the tray menu and the skin dialog, by stand-ins.
    CControlUI* CreateControl(LPCTSTR cls) override;

    CPaintManagerUI& Pm() { return m_PaintManager; }
    CControlUI* Find(LPCTSTR name) { return m_PaintManager.FindControl(name); }
    // Builds a sub-layout of the skin for this window, as the client does.
    CControlUI* Build(LPCTSTR file);

private:
    std::wstring layout_;
};

// The result views of the main window filled the way the client fills them: one page
// from OneTvInfo.xml, a OneTvSource.xml row per source name at 40-pixel steps (the first
// selected), the episode buttons 1..episodes of the first block with both arrows when
// there are more than eight, and `count` select options (the first selected).
struct ResultArea {
    CControlUI* info = nullptr;
    std::vector<CControlUI*> sourceRows;
    std::vector<CControlUI*> blockButtons;  // arrows first, then episodes
    std::vector<COptionUI*> selects;
};
bool ShowResultArea(SkinWindow& w, int count, const std::vector<std::wstring>& sources,
                    int episodes, ResultArea* out);

std::wstring PosText(int l, int t, int r, int b);

}  // namespace skintest

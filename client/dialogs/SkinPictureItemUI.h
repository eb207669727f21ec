#pragma once

// CSkinPictureItemUI: one background thumbnail of the skin dialog ("SkinPictureItem"
// in the layout). A button whose picture is the thumbnail; while the pointer is over it
// or it is pressed, it shows its display name ("bkname") in white and a light blue
// 2-pixel frame.

#include <string>

#include "uilib/UiLib.h"

class CSkinPictureItemUI : public UiLib::CButtonUI {
public:
    static constexpr UiLib::DWORD kNameColor = 0xFFFFFFFF;
    static constexpr UiLib::DWORD kFrameColor = 0xFF64B0FA;
    static constexpr int kFrameSize = 2;

    UiLib::LPCTSTR GetClass() const override;
    // "SkinPictureItem", then the button's interfaces.
    UiLib::LPVOID GetInterface(UiLib::LPCTSTR pstrName) override;
    // "bkname": the display name; everything else as for a button.
    void SetAttribute(UiLib::LPCTSTR pstrName, UiLib::LPCTSTR pstrValue) override;
    void PaintStatusImage(UiLib::HDC hDC) override;

    const std::wstring& GetBkName() const { return bkName_; }
    void SetBkName(std::wstring name);

private:
    std::wstring bkName_;
};

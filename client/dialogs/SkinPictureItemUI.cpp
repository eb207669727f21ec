#include "client/dialogs/SkinPictureItemUI.h"

using namespace UiLib;

UILIB_REGISTER_CONTROL(L"SkinPictureItem", CSkinPictureItemUI);

LPCTSTR CSkinPictureItemUI::GetClass() const {
    return L"SkinPictureItemUI";
}

LPVOID CSkinPictureItemUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && EqualsNoCase(pstrName, L"SkinPictureItem")) return this;
    return CButtonUI::GetInterface(pstrName);
}

void CSkinPictureItemUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (pstrName && std::wstring_view(pstrName) == L"bkname") {
        SetBkName(pstrValue ? pstrValue : L"");
        return;
    }
    CButtonUI::SetAttribute(pstrName, pstrValue);
}

void CSkinPictureItemUI::SetBkName(std::wstring name) {
    bkName_ = std::move(name);
    Invalidate();
}

void CSkinPictureItemUI::PaintStatusImage(HDC hDC) {
    CButtonUI::PaintStatusImage(hDC);
    if (!(m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED))) return;
    RECT rc = m_rcItem;
    CRenderEngine::DrawText(hDC, m_pManager, rc, bkName_.c_str(), kNameColor, m_iFont,
                            m_uTextStyle);
    CRenderEngine::DrawRect(hDC, m_rcItem, kFrameSize, kFrameColor);
}

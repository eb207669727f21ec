#include "uilib/controls/Edit.h"

#include <algorithm>

#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"
#include "uilib/src/Backend.h"
#include "uilib/src/drawing/HtmlText.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib {

// The native line edit of the control while it has the focus, and what it reports.
struct CEditUI::Native : backend::EditEvents {
    explicit Native(CEditUI* owner) : owner(owner) {}
    void OnTextChanged(const std::wstring& text) override { owner->OnNativeTextChanged(text); }
    void OnReturn() override { owner->OnNativeReturn(); }

    CEditUI* owner;
    std::unique_ptr<backend::NativeEdit> edit;
};

CEditUI::CEditUI() : m_native(std::make_unique<Native>(this)) {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER;
    m_rcTextPadding = RECT{4, 0, 4, 0};
}

CEditUI::~CEditUI() = default;

LPCTSTR CEditUI::GetClass() const {
    return L"EditUI";
}

LPVOID CEditUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Edit")) return static_cast<CEditUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const {
    return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0;
}

void CEditUI::SetText(LPCTSTR pstrText) {
    RunOnUiThread([this, text = CDuiString(pstrText)] {
        CDuiString value = text;
        if (value.GetLength() > static_cast<int>(m_uMaxChar))
            value = value.Left(static_cast<int>(m_uMaxChar));
        m_sText = value;
        if (m_native->edit) m_native->edit->SetText(value.str());
        Invalidate();
    });
}

void CEditUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
        ShowNativeEditor(false);
    }
}

void CEditUI::SetMaxChar(UINT uMax) {
    m_uMaxChar = uMax;
    ApplyEditorState();
}

void CEditUI::SetReadOnly(bool bReadOnly) {
    m_bReadOnly = bReadOnly;
    ApplyEditorState();
    Invalidate();
}

void CEditUI::SetPasswordMode(bool bPasswordMode) {
    m_bPasswordMode = bPasswordMode;
    ApplyEditorState();
    Invalidate();
}

void CEditUI::SetNormalImage(LPCTSTR pStrImage) {
    m_sNormalImage = pStrImage;
    Invalidate();
}
void CEditUI::SetHotImage(LPCTSTR pStrImage) {
    m_sHotImage = pStrImage;
    Invalidate();
}
void CEditUI::SetFocusedImage(LPCTSTR pStrImage) {
    m_sFocusedImage = pStrImage;
    Invalidate();
}
void CEditUI::SetDisabledImage(LPCTSTR pStrImage) {
    m_sDisabledImage = pStrImage;
    Invalidate();
}

void CEditUI::ApplyEditorState() {
    backend::NativeEdit* edit = m_native->edit.get();
    if (!edit) return;
    backend::EditLook look;
    look.maxLength = std::min<UINT>(m_uMaxChar, 32767);
    look.readOnly = m_bReadOnly;
    look.password = m_bPasswordMode;
    look.align = m_uTextStyle & (DT_CENTER | DT_RIGHT);
    look.font = &detail::FontInfoOf(m_pManager, m_iFont);
    look.textColor = m_dwTextColor != 0 ? m_dwTextColor : 0xFF000000;
    look.backColor = m_dwEditBkColor;
    edit->SetLook(look);
    // Inside the border, and inside the text padding where that is wider.
    const LONG border = std::max(m_nBorderSize, 1);
    const LONG left = std::max<LONG>(0, m_rcTextPadding.left - border);
    const LONG right = std::max<LONG>(0, m_rcTextPadding.right - border);
    const RECT r{m_rcItem.left + border + left, m_rcItem.top + border,
                 m_rcItem.right - border - right, m_rcItem.bottom - border};
    edit->SetGeometry(!IsRectEmpty(r)
                          ? r
                          : RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left + 1, m_rcItem.top + 1});
}

void CEditUI::ShowNativeEditor(bool show) {
    if (!show) {
        if (m_native->edit && m_native->edit->IsShown()) {
            m_sText = CDuiString(m_native->edit->Text());
            m_native->edit->Hide();
        }
        return;
    }
    if (!m_pManager || !IsEnabled() || !IsVisible()) return;
    backend::NativeWindow* window = detail::NativeOf(m_pManager->GetPaintWindow());
    if (!window) return;
    if (!m_native->edit) m_native->edit = window->CreateEdit(*m_native);
    if (!m_native->edit) return;
    m_native->edit->SetText(m_sText.str());
    ApplyEditorState();
    m_native->edit->Show();
}

void CEditUI::OnNativeTextChanged(const std::wstring& text) {
    m_sText = text;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
}

void CEditUI::OnNativeReturn() {
    if (m_native->edit) m_sText = CDuiString(m_native->edit->Text());
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
}

void CEditUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    ApplyEditorState();
}

void CEditUI::SetVisible(bool bVisible) {
    CControlUI::SetVisible(bVisible);
    if (!IsVisible()) ShowNativeEditor(false);
}

void CEditUI::SetInternVisible(bool bVisible) {
    CControlUI::SetInternVisible(bVisible);
    if (!IsVisible()) ShowNativeEditor(false);
}

void CEditUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    if (pManager != m_pManager && m_native->edit) {
        ShowNativeEditor(false);
        m_native->edit.reset();
    }
    CLabelUI::SetManager(pManager, pParent, bInit);
}

SIZE CEditUI::EstimateSize(SIZE szAvailable) {
    return CLabelUI::EstimateSize(szAvailable);
}

void CEditUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
            CControlUI::DoEvent(event);
            ShowNativeEditor(true);
            return;
        case UIEVENT_KILLFOCUS:
            ShowNativeEditor(false);
            CControlUI::DoEvent(event);
            return;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsFocused()) ShowNativeEditor(true);
            return;
        case UIEVENT_BUTTONUP:
        case UIEVENT_MOUSEMOVE:
            return;
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_uButtonState |= UISTATE_HOT;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSELEAVE:
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"readonly") {
        SetReadOnly(ParseBool(pstrValue));
    } else if (name == L"password") {
        SetPasswordMode(ParseBool(pstrValue));
    } else if (name == L"maxchar") {
        SetMaxChar(static_cast<UINT>(std::max(0, ParseInt(pstrValue))));
    } else if (name == L"normalimage") {
        SetNormalImage(pstrValue);
    } else if (name == L"hotimage") {
        SetHotImage(pstrValue);
    } else if (name == L"focusedimage") {
        SetFocusedImage(pstrValue);
    } else if (name == L"disabledimage") {
        SetDisabledImage(pstrValue);
    } else if (name == L"nativebkcolor") {
        SetNativeEditBkColor(ParseColor(pstrValue));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

bool CEditUI::HasFocusedLook() const {
    return !m_sFocusedImage.IsEmpty() || CLabelUI::HasFocusedLook();
}

void CEditUI::PaintStatusImage(HDC hDC) {
    bool drawn = false;
    if (!IsEnabled()) {
        drawn = !m_sDisabledImage.IsEmpty() && DrawImage(hDC, m_sDisabledImage);
    } else if (IsFocused()) {
        drawn = !m_sFocusedImage.IsEmpty() && DrawImage(hDC, m_sFocusedImage);
    } else if (m_uButtonState & UISTATE_HOT) {
        drawn = !m_sHotImage.IsEmpty() && DrawImage(hDC, m_sHotImage);
    }
    if (!drawn && !m_sNormalImage.IsEmpty()) DrawImage(hDC, m_sNormalImage);
}

void CEditUI::PaintText(HDC hDC) {
    if (m_native->edit && m_native->edit->IsShown()) return;  // the editor draws it
    if (m_sText.IsEmpty()) return;
    CDuiString shown = m_sText;
    if (m_bPasswordMode)
        shown = CDuiString(std::wstring(static_cast<size_t>(m_sText.GetLength()), L'*'));
    RECT rc{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
            m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
    CRenderEngine::DrawText(hDC, m_pManager, rc, shown, CurrentTextColor(), m_iFont,
                            m_uTextStyle | DT_SINGLELINE);
}

}  // namespace UiLib

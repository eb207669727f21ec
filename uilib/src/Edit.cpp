#include <QLineEdit>
#include <QPointer>

#include "uilib/controls/Edit.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"
#include "uilib/src/Fonts.h"
#include "uilib/src/WindowHost.h"

namespace UiLib {

struct CEditUI::Native {
    QPointer<QLineEdit> edit;
    bool updating = false;
};

CEditUI::CEditUI() : m_native(std::make_unique<Native>()) {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER;
    m_rcTextPadding = RECT{4, 0, 4, 0};
}

CEditUI::~CEditUI() {
    if (m_native->edit) delete m_native->edit.data();
}

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
        if (m_native->edit) {
            m_native->updating = true;
            m_native->edit->setText(QString::fromStdWString(value.str()));
            m_native->updating = false;
        }
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
    QLineEdit* edit = m_native->edit;
    if (!edit) return;
    edit->setMaxLength(static_cast<int>(std::min<UINT>(m_uMaxChar, 32767)));
    edit->setReadOnly(m_bReadOnly);
    edit->setEchoMode(m_bPasswordMode ? QLineEdit::Password : QLineEdit::Normal);
    if (m_uTextStyle & DT_CENTER) {
        edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    } else if (m_uTextStyle & DT_RIGHT) {
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
        edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    edit->setFont(detail::FontOf(m_pManager, m_iFont));
    const QColor text = QColor::fromRgba(m_dwTextColor != 0 ? m_dwTextColor : 0xFF000000);
    const QColor back = QColor::fromRgba(m_dwEditBkColor);
    edit->setStyleSheet(
        QStringLiteral("QLineEdit { border: none; padding: 0px; color: %1; background: %2; }")
            .arg(text.name(QColor::HexArgb), back.name(QColor::HexArgb)));
    const int border = std::max(m_nBorderSize, 1);
    const QRect r(m_rcItem.left + border + std::max<LONG>(0, m_rcTextPadding.left - border),
                  m_rcItem.top + border,
                  (m_rcItem.right - m_rcItem.left) - 2 * border -
                      std::max<LONG>(0, m_rcTextPadding.left - border) -
                      std::max<LONG>(0, m_rcTextPadding.right - border),
                  (m_rcItem.bottom - m_rcItem.top) - 2 * border);
    edit->setGeometry(r.width() > 0 && r.height() > 0 ? r
                                                      : QRect(m_rcItem.left, m_rcItem.top, 1, 1));
}

void CEditUI::ShowNativeEditor(bool show) {
    if (!show) {
        if (m_native->edit && m_native->edit->isVisible()) {
            m_sText = CDuiString(m_native->edit->text().toStdWString());
            m_native->edit->hide();
        }
        return;
    }
    if (!m_pManager || !IsEnabled() || !IsVisible()) return;
    detail::WindowHost* host = detail::HostOf(m_pManager->GetPaintWindow());
    if (!host) return;
    if (!m_native->edit) {
        auto* edit = new QLineEdit(host);  // owned by the host widget; also deleted here
        edit->setFrame(false);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString& t) {
            if (!m_native->updating) OnNativeTextChanged(t.toStdWString());
        });
        QObject::connect(edit, &QLineEdit::returnPressed, edit, [this] { OnNativeReturn(); });
        m_native->edit = edit;
    }
    m_native->updating = true;
    m_native->edit->setText(QString::fromStdWString(m_sText.str()));
    m_native->updating = false;
    ApplyEditorState();
    m_native->edit->show();
    m_native->edit->setFocus(Qt::OtherFocusReason);
    m_native->edit->end(false);
}

void CEditUI::OnNativeTextChanged(const std::wstring& text) {
    m_sText = text;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
}

void CEditUI::OnNativeReturn() {
    if (m_native->edit) m_sText = CDuiString(m_native->edit->text().toStdWString());
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
        delete m_native->edit.data();
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
    if (m_native->edit && m_native->edit->isVisible()) return;  // the editor draws it
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

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <cwctype>

#include "uilib/core/Control.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/text/AttributeValues.h"

namespace UiLib {

DWORD CControlUI::ParseColor(LPCTSTR value) {
    return detail::ParseColor(value);
}
RECT CControlUI::ParseRect(LPCTSTR value) {
    return detail::ParseRect(value);
}
SIZE CControlUI::ParseSize(LPCTSTR value) {
    return detail::ParseSize(value);
}
bool CControlUI::ParseBool(LPCTSTR value) {
    return detail::ParseBool(value);
}
int CControlUI::ParseInt(LPCTSTR value) {
    return detail::ParseInt(value);
}

namespace {
AccessId NextAccessId() {
    static std::atomic<AccessId> next{0};
    return ++next;
}
}  // namespace

CControlUI::CControlUI() : m_life(std::make_shared<int>(0)), m_accessId(NextAccessId()) {
    m_cxyMax = SIZE{9999, 9999};
}

CControlUI::~CControlUI() {
    if (m_pManager) m_pManager->ReapObjects(this);
}

bool CControlUI::IsUiThread() {
    return detail::IsUiThread();
}

void CControlUI::PostToUiThread(std::weak_ptr<int> life, void (*fn)(void*), void* arg,
                                void (*release)(void*)) {
    std::shared_ptr<void> holder(arg, release);
    detail::PostToUi([life = std::move(life), fn, holder] {
        if (life.lock()) fn(holder.get());
    });
}

CDuiString CControlUI::GetName() const {
    return m_sName;
}
void CControlUI::SetName(LPCTSTR pstrName) {
    m_sName = pstrName;
}
LPCTSTR CControlUI::GetClass() const {
    return L"ControlUI";
}

LPVOID CControlUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Control")) return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const {
    return 0;
}

bool CControlUI::Activate() {
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const {
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pManager) Init();
}

CControlUI* CControlUI::GetParent() const {
    return m_pParent;
}

CDuiString CControlUI::GetText() const {
    return m_sText;
}

void CControlUI::SetText(LPCTSTR pstrText) {
    RunOnUiThread([this, text = CDuiString(pstrText)] {
        if (m_sText == text) return;
        m_sText = text;
        Invalidate();
    });
}

void CControlUI::SetBkColor(DWORD dwBackColor) {
    if (m_dwBackColor == dwBackColor) return;
    m_dwBackColor = dwBackColor;
    Invalidate();
}

void CControlUI::SetBkImage(LPCTSTR pStrImage) {
    if (m_sBkImage == pStrImage) return;
    m_sBkImage = pStrImage;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD dwBorderColor) {
    m_dwBorderColor = dwBorderColor;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor) {
    m_dwFocusBorderColor = dwBorderColor;
    Invalidate();
}

void CControlUI::SetBorderSize(int nSize) {
    m_nBorderSize = std::max(0, nSize);
    Invalidate();
}

void CControlUI::SetBorderRect(RECT rc) {
    m_rcBorderSize = rc;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE cxyRound) {
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

const RECT& CControlUI::GetPos() const {
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate) {
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    const RECT old = m_rcItem;
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (m_bFloat && m_pParent) {
        // Keep the new place when the parent lays out again.
        const RECT& parent = m_pParent->GetPos();
        m_cXY = SIZE{rc.left - parent.left, rc.top - parent.top};
        m_cxyFixed = SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    if (bNeedInvalidate && m_pManager && old != rc) {
        m_pManager->Invalidate(old);
        m_pManager->Invalidate(rc);
    }
}

int CControlUI::GetWidth() const {
    return m_rcItem.right - m_rcItem.left;
}
int CControlUI::GetHeight() const {
    return m_rcItem.bottom - m_rcItem.top;
}
int CControlUI::GetX() const {
    return m_rcItem.left;
}
int CControlUI::GetY() const {
    return m_rcItem.top;
}
RECT CControlUI::GetPadding() const {
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding) {
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const {
    return m_cXY;
}

void CControlUI::SetFixedXY(SIZE szXY) {
    m_cXY = szXY;
    NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const {
    return m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx) {
    m_cxyFixed.cx = std::max(0, cx);
    NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const {
    return m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy) {
    m_cxyFixed.cy = std::max(0, cy);
    NeedParentUpdate();
}

int CControlUI::GetMinWidth() const {
    return m_cxyMin.cx;
}
void CControlUI::SetMinWidth(int cx) {
    m_cxyMin.cx = std::max(0, cx);
    NeedParentUpdate();
}
int CControlUI::GetMaxWidth() const {
    return m_cxyMax.cx;
}
void CControlUI::SetMaxWidth(int cx) {
    m_cxyMax.cx = std::max(0, cx);
    NeedParentUpdate();
}
int CControlUI::GetMinHeight() const {
    return m_cxyMin.cy;
}
void CControlUI::SetMinHeight(int cy) {
    m_cxyMin.cy = std::max(0, cy);
    NeedParentUpdate();
}
int CControlUI::GetMaxHeight() const {
    return m_cxyMax.cy;
}
void CControlUI::SetMaxHeight(int cy) {
    m_cxyMax.cy = std::max(0, cy);
    NeedParentUpdate();
}

CDuiString CControlUI::GetToolTip() const {
    return m_sToolTip;
}
void CControlUI::SetToolTip(LPCTSTR pstrText) {
    m_sToolTip = pstrText;
}
const CDuiString& CControlUI::GetUserData() const {
    return m_sUserData;
}
void CControlUI::SetUserData(LPCTSTR pstrText) {
    m_sUserData = pstrText;
}
UINT_PTR CControlUI::GetTag() const {
    return m_pTag;
}
void CControlUI::SetTag(UINT_PTR pTag) {
    m_pTag = pTag;
}

bool CControlUI::IsVisible() const {
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) return;
    const bool wasVisible = IsVisible();
    m_bVisible = bVisible;
    if (m_bFocused && !IsVisible() && m_pManager) m_pManager->SetFocus(nullptr);
    if (IsVisible() != wasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible) {
    m_bInternVisible = bVisible;
    if (!bVisible && m_bFocused && m_pManager) m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const {
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnable) {
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const {
    return m_bMouseEnabled;
}
void CControlUI::SetMouseEnabled(bool bEnable) {
    m_bMouseEnabled = bEnable;
}
bool CControlUI::IsFocused() const {
    return m_bFocused;
}

void CControlUI::SetFocus() {
    if (m_pManager) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const {
    return m_bFloat;
}

void CControlUI::SetFloat(bool bFloat) {
    if (m_bFloat == bFloat) return;
    m_bFloat = bFloat;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((uFlags & UIFIND_HITTEST) != 0 &&
        (!m_bMouseEnabled || !PtInRect(m_rcItem, *static_cast<const POINT*>(pData)))) {
        return nullptr;
    }
    return Proc(this, pData);
}

void CControlUI::Invalidate() {
    if (!IsVisible() || !m_pManager) return;
    m_pManager->Invalidate(m_rcItem);
}

void CControlUI::NeedUpdate() {
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::Init() {
    DoInit();
}
void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event) {
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
            m_bFocused = true;
            Invalidate();
            return;
        case UIEVENT_KILLFOCUS:
            m_bFocused = false;
            Invalidate();
            return;
        case UIEVENT_TIMER:
            if (m_pManager)
                m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
            return;
        case UIEVENT_CONTEXTMENU:
            if (m_bMenuUsed && m_pManager) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
                return;
            }
            break;
        default:
            break;
    }
    if (m_pParent) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"pos") {
        const RECT rc = ParseRect(pstrValue);
        m_cXY = SIZE{rc.left, rc.top};
        m_cxyFixed =
            SIZE{std::max<LONG>(0, rc.right - rc.left), std::max<LONG>(0, rc.bottom - rc.top)};
        NeedParentUpdate();
    } else if (name == L"padding") {
        SetPadding(ParseRect(pstrValue));
    } else if (name == L"bkcolor" || name == L"bkcolor1") {
        SetBkColor(ParseColor(pstrValue));
    } else if (name == L"bordercolor") {
        SetBorderColor(ParseColor(pstrValue));
    } else if (name == L"focusbordercolor") {
        SetFocusBorderColor(ParseColor(pstrValue));
    } else if (name == L"bordersize") {
        const std::wstring v = pstrValue ? pstrValue : L"";
        if (v.find(L',') != std::wstring::npos) {
            SetBorderRect(ParseRect(pstrValue));
        } else {
            SetBorderSize(ParseInt(pstrValue));
        }
    } else if (name == L"leftbordersize") {
        m_rcBorderSize.left = std::max(0, ParseInt(pstrValue));
        Invalidate();
    } else if (name == L"topbordersize") {
        m_rcBorderSize.top = std::max(0, ParseInt(pstrValue));
        Invalidate();
    } else if (name == L"rightbordersize") {
        m_rcBorderSize.right = std::max(0, ParseInt(pstrValue));
        Invalidate();
    } else if (name == L"bottombordersize") {
        m_rcBorderSize.bottom = std::max(0, ParseInt(pstrValue));
        Invalidate();
    } else if (name == L"borderround") {
        SetBorderRound(ParseSize(pstrValue));
    } else if (name == L"bkimage") {
        SetBkImage(pstrValue);
    } else if (name == L"width") {
        SetFixedWidth(ParseInt(pstrValue));
    } else if (name == L"height") {
        SetFixedHeight(ParseInt(pstrValue));
    } else if (name == L"minwidth") {
        SetMinWidth(ParseInt(pstrValue));
    } else if (name == L"minheight") {
        SetMinHeight(ParseInt(pstrValue));
    } else if (name == L"maxwidth") {
        SetMaxWidth(ParseInt(pstrValue));
    } else if (name == L"maxheight") {
        SetMaxHeight(ParseInt(pstrValue));
    } else if (name == L"name") {
        SetName(pstrValue);
    } else if (name == L"text") {
        SetText(pstrValue);
    } else if (name == L"tooltip") {
        SetToolTip(pstrValue);
    } else if (name == L"userdata") {
        SetUserData(pstrValue);
    } else if (name == L"tag") {
        SetTag(static_cast<UINT_PTR>(ParseInt(pstrValue)));
    } else if (name == L"enabled") {
        SetEnabled(ParseBool(pstrValue));
    } else if (name == L"mouse") {
        SetMouseEnabled(ParseBool(pstrValue));
    } else if (name == L"visible") {
        SetVisible(ParseBool(pstrValue));
    } else if (name == L"float") {
        SetFloat(ParseBool(pstrValue));
    } else if (name == L"menu") {
        m_bMenuUsed = ParseBool(pstrValue);
    }
}

void CControlUI::SetAttributeList(LPCTSTR pstrList) {
    for (const auto& [name, value] : detail::ParseAttributeList(pstrList)) {
        SetAttribute(name.c_str(), value.c_str());
    }
}

SIZE CControlUI::EstimateSize(SIZE) {
    return m_cxyFixed;
}

}  // namespace UiLib

#include "client/menu/MenuElementUI.h"

#include <algorithm>
#include <memory>

#include "client/menu/MenuItemMessage.h"
#include "client/menu/MenuObserver.h"
#include "client/menu/MenuWnd.h"

using namespace UiLib;

namespace {

constexpr int kIconColumn = 35;  // the icons are centred in this many pixels at the left
constexpr int kArrowSize = 9;    // the expand arrow's picture
constexpr int kArrowInset = 20;  // its left edge, from the item's right edge
constexpr int kSeparatorHeight = 10;
constexpr int kLineInset = 5;  // the separator line, inside the left, right and bottom
constexpr int kWidthExtra = 20;

std::wstring Dest(int left, int top, int width, int height) {
    return L"dest='" + std::to_wstring(left) + L"," + std::to_wstring(top) + L"," +
           std::to_wstring(left + width) + L"," + std::to_wstring(top + height) + L"'";
}

}  // namespace

UILIB_REGISTER_CONTROL(L"MenuElement", CMenuElementUI);

CMenuElementUI::CMenuElementUI() {
    m_cxyFixed = SIZE{134, 24};
}

LPCTSTR CMenuElementUI::GetClass() const {
    return L"MenuElementUI";
}

LPVOID CMenuElementUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"MenuElement")) return static_cast<CMenuElementUI*>(this);
    return CListContainerElementUI::GetInterface(pstrName);
}

bool CMenuElementUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!CListContainerElementUI::AddAt(pControl, iIndex)) return false;
    if (pControl->GetInterface(L"MenuElement")) pControl->SetVisible(false);
    return true;
}

bool CMenuElementUI::HasSubItems() const {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetItemAt(i)->GetInterface(L"MenuElement")) return true;
    }
    return false;
}

bool CMenuElementUI::IsChecked() const {
    const MenuCheckMap* checks = CurrentMenuTargets().checks;
    if (!checks) return false;
    const auto it = checks->find(m_sName.str());
    return it != checks->end() && it->second;
}

void CMenuElementUI::SetChecked(bool checked) {
    if (MenuCheckMap* checks = CurrentMenuTargets().checks) (*checks)[m_sName.str()] = checked;
    Invalidate();
}

void CMenuElementUI::OpenSubMenu() {
    if (m_subMenu || !m_pManager || !HasSubItems()) return;
    auto menu = std::make_unique<CMenuWnd>(m_pManager->GetPaintWindow());
    m_subMenu = menu.get();
    m_uButtonState |= UISTATE_PUSHED;
    if (m_subMenu->Init(this, L"", nullptr, nullptr, 0, 0, 0)) {
        menu.release();  // the popup deletes itself when its window is gone
    } else {
        SubMenuClosed();
    }
}

void CMenuElementUI::SubMenuClosed() {
    m_subMenu = nullptr;
    m_uButtonState &= ~UISTATE_PUSHED;
    Invalidate();
}

void CMenuElementUI::Enter() {
    if (!IsEnabled() || !m_pManager) return;
    const HWND menu = m_pManager->GetPaintWindow();
    if (!m_subMenu) {
        // Another item's sub-menu (and what it opened) closes.
        MenuObserver().Broadcast(MenuCommand{MenuCommandType::CloseSubMenus, menu});
        OpenSubMenu();
    }
    if (m_pOwner) m_pOwner->SelectItem(m_iIndex, true);
}

void CMenuElementUI::Choose() {
    if (!IsEnabled()) return;
    if (HasSubItems()) {
        OpenSubMenu();
        return;
    }
    bool checked = IsChecked();
    if (m_checkItem) {
        checked = !checked;
        SetChecked(checked);
    }
    PostMenuItem(CurrentMenuTargets().clickWindow, m_sName.str(), checked);
    MenuObserver().Broadcast(MenuCommand{MenuCommandType::CloseAll, nullptr});
}

bool CMenuElementUI::Activate() {
    if (!IsEnabled()) return false;
    Choose();
    return true;
}

void CMenuElementUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_MOUSEENTER:
            CListContainerElementUI::DoEvent(event);  // the hot state
            Enter();
            return;
        case UIEVENT_BUTTONUP:
            if (IsEnabled() && PtInRect(m_rcItem, event.ptMouse)) Choose();
            return;
        case UIEVENT_KEYDOWN:
            if (event.chKey == VK_RIGHT) {
                Enter();
                return;
            }
            break;
        default:
            break;
    }
    CListContainerElementUI::DoEvent(event);
}

SIZE CMenuElementUI::EstimateSize(SIZE szAvailable) {
    return SIZE{0, ItemSize(szAvailable).cy};
}

SIZE CMenuElementUI::ItemSize(SIZE) {
    if (m_separator) return SIZE{0, kSeparatorHeight};
    SIZE size{0, m_cxyFixed.cy};
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    if (m_pManager) {
        const SIZE text = CRenderEngine::GetTextSize(m_pManager, m_sText, info ? info->nFont : -1,
                                                     info && info->bShowHtml);
        size.cx = text.cx + kWidthExtra;
        if (info) size.cx += info->rcTextPadding.left + info->rcTextPadding.right;
        if (size.cy == 0) size.cy = text.cy + 8;
    }
    size.cx = std::max<LONG>(size.cx, m_cxyFixed.cx);
    return size;
}

void CMenuElementUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    RECT visible;
    if (!IntersectRect(&visible, rcPaint, m_rcItem)) return;
    m_rcPaint = visible;
    const LONG width = m_rcItem.right - m_rcItem.left;
    const LONG height = m_rcItem.bottom - m_rcItem.top;
    if (m_separator) {
        const LONG y = m_rcItem.bottom - kLineInset;
        CRenderEngine::DrawColor(
            hDC, RECT{m_rcItem.left + kLineInset, y, m_rcItem.right - kLineInset, y + 1},
            m_lineColor);
        return;
    }
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
    if (!m_icon.empty() && (!m_checkItem || IsChecked())) {
        DrawImage(hDC, m_icon.c_str(),
                  Dest((kIconColumn - m_iconSize.cx) / 2, (height - m_iconSize.cy) / 2,
                       m_iconSize.cx, m_iconSize.cy)
                      .c_str());
    }
    if (m_expand && m_pManager) {
        if (LPCTSTR arrow = m_pManager->GetDefaultAttributeList(L"ExplandIcon")) {
            DrawImage(hDC, arrow,
                      Dest(width - kArrowInset, (height - kArrowSize) / 2, kArrowSize, kArrowSize)
                          .c_str());
        }
    }
    CContainerUI::DoPaint(hDC, rcPaint);
}

void CMenuElementUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring value = pstrValue ? pstrValue : L"";
    if (name == L"icon") {
        m_icon = value;
    } else if (name == L"iconsize") {
        m_iconSize = ParseSize(pstrValue);
    } else if (name == L"checkitem") {
        m_checkItem = value == L"true";
    } else if (name == L"ischeck") {
        // The layout's state counts only until the opener has said otherwise.
        MenuCheckMap* checks = CurrentMenuTargets().checks;
        if (m_checkItem && checks && !checks->count(m_sName.str())) SetChecked(value == L"true");
    } else if (name == L"type") {
        if (value == L"line") {
            m_separator = true;
            SetFixedHeight(kSeparatorHeight);
            SetMouseEnabled(false);
            SetEnabled(false);
        }
    } else if (name == L"expland") {
        m_expand = value == L"true";
    } else if (name == L"linecolor") {
        m_lineColor = ParseColor(pstrValue);
    } else {
        CListContainerElementUI::SetAttribute(pstrName, pstrValue);
    }
}

UINT CMenuElementUI::GetControlFlags() const {
    return m_separator ? 0 : CListContainerElementUI::GetControlFlags();
}

AccessInfo CMenuElementUI::DescribeForAccessibility() {
    AccessInfo info = CListContainerElementUI::DescribeForAccessibility();
    info.role = m_separator ? AccessRole::None : AccessRole::MenuItem;
    if (m_checkItem) {
        info.state |= kAccessCheckable;
        if (IsChecked()) info.state |= kAccessChecked;
    }
    return info;
}

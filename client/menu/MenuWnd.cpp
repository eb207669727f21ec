#include "client/menu/MenuWnd.h"

#include <algorithm>

#include "client/menu/MenuElementUI.h"
#include "client/menu/MenuUI.h"

using namespace UiLib;

namespace {

constexpr LONG kScreenMargin = 10;  // a pushed-back menu keeps this far from the edge
constexpr LONG kExtraHeight = 8;    // added below the items of a top-level menu

CMenuWnd* AsMenu(ReceiverImplBase* receiver) {
    return dynamic_cast<CMenuWnd*>(receiver);
}

POINT ToScreen(HWND hWnd, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hWnd, &pt);
    return pt;
}

RECT MonitorRect(POINT pt, bool workArea) {
    MONITORINFO info;
    if (!GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info)) {
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return workArea ? info.rcWork : info.rcMonitor;
}

void MoveBy(RECT& rc, LONG dx, LONG dy) {
    rc.left += dx;
    rc.right += dx;
    rc.top += dy;
    rc.bottom += dy;
}

}  // namespace

HWND MenuWindowAt(POINT screen) {
    for (ReceiverImplBase* receiver : MenuObserver().Receivers()) {
        CMenuWnd* menu = AsMenu(receiver);
        RECT rc{};
        if (menu && GetWindowRect(menu->GetHWND(), &rc) && PtInRect(rc, screen))
            return menu->GetHWND();
    }
    return nullptr;
}

std::vector<HWND> OpenMenuWindows() {
    std::vector<HWND> windows;
    for (ReceiverImplBase* receiver : MenuObserver().Receivers()) {
        if (CMenuWnd* menu = AsMenu(receiver); menu && menu->GetHWND())
            windows.push_back(menu->GetHWND());
    }
    return windows;
}

void CloseAllMenus() {
    MenuObserver().Broadcast(MenuCommand{MenuCommandType::CloseAll, nullptr});
}

CMenuWnd::CMenuWnd(HWND owner) : m_owner(owner) {}

CMenuWnd::~CMenuWnd() {
    MenuObserver().RemoveReceiver(this);
}

bool CMenuWnd::Init(CMenuElementUI* parentItem, const std::wstring& xml,
                    CPaintManagerUI* clickTarget, MenuCheckMap* checks, int alignment, int x,
                    int y) {
    m_parentItem = parentItem;
    m_xml = xml;
    m_alignment = alignment;
    m_point = POINT{x, y};
    if (clickTarget) CurrentMenuTargets().clickWindow = clickTarget->GetPaintWindow();
    if (checks) CurrentMenuTargets().checks = checks;
    MenuObserver().AddReceiver(this);
    const HWND parent = parentItem && parentItem->GetManager()
                            ? parentItem->GetManager()->GetPaintWindow()
                            : m_owner;
    if (!Create(parent, L"", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0)) {
        MenuObserver().RemoveReceiver(this);
        RemoveObserver();
        return false;
    }
    UiLib::ShowWindow(m_hWnd, SW_SHOW);
    // The window the menu belongs to keeps its active look.
    HWND top = m_hWnd;
    while (const HWND up = GetParent(top)) top = up;
    UiLib::SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
    return true;
}

CControlUI* CMenuWnd::CreateControl(LPCTSTR pstrClass) {
    const std::wstring_view name = pstrClass ? pstrClass : L"";
    if (name == L"Menu") return new CMenuUI;
    if (name == L"MenuElement") return new CMenuElementUI;
    return nullptr;
}

void CMenuWnd::Notify(TNotifyUI&) {}

void CMenuWnd::BuildTopLevel() {
    CDialogBuilder builder;
    CControlUI* root = builder.Create(m_xml.c_str(), nullptr, this, &m_pm);
    if (root) {
        m_pm.AttachDialog(root);
        m_menu = static_cast<CMenuUI*>(root->GetInterface(L"Menu"));
    }
    m_pm.AddNotifier(this);

    // The size the items ask for, within the work area of the monitor at the point.
    const RECT work = MonitorRect(m_point, true);
    const SIZE limit{work.right - work.left, work.bottom - work.top};
    SIZE size = root ? root->EstimateSize(limit) : SIZE{};
    size.cx = std::clamp<LONG>(size.cx, 1, std::max<LONG>(1, limit.cx));
    size.cy = std::clamp<LONG>(size.cy, 1, std::max<LONG>(1, limit.cy));
    m_pm.SetInitSize(size.cx, size.cy);

    // The window is a little taller than its items; the whole of it has to fit.
    const LONG height = size.cy + kExtraHeight;
    RECT rc{m_point.x, m_point.y, m_point.x + size.cx, m_point.y + height};
    if (m_alignment == 1) MoveBy(rc, -size.cx, -height);
    // Back inside the screen: above and left of its bottom and right edges, and never
    // past its top or left edge either.
    const RECT screen = MonitorRect(m_point, false);
    if (rc.bottom > screen.bottom) MoveBy(rc, 0, screen.bottom - kScreenMargin - rc.bottom);
    if (rc.right > screen.right) MoveBy(rc, screen.right - kScreenMargin - rc.right, 0);
    if (rc.top < screen.top) MoveBy(rc, 0, screen.top - rc.top);
    if (rc.left < screen.left) MoveBy(rc, screen.left - rc.left, 0);

    SetForegroundWindow(m_hWnd);
    SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, size.cx, height, SWP_SHOWWINDOW);
    SetCapture(m_hWnd);
    if (m_menu) m_pm.SetFocus(m_menu);  // Up and Down move over the items at once
}

void CMenuWnd::BuildSubMenu() {
    CPaintManagerUI* parentPm = m_parentItem->GetManager();
    auto* parentMenu = static_cast<CMenuUI*>(
        m_parentItem->GetParent() ? m_parentItem->GetParent()->GetInterface(L"Menu") : nullptr);
    m_pm.UseParentResource(parentPm);
    m_menu = new CMenuUI;  // owned by m_pm from AttachDialog on
    if (parentMenu) m_menu->CopyLookOf(*parentMenu);
    if (LPCTSTR defaults = parentPm->GetDefaultAttributeList(L"Menu")) {
        m_menu->SetAttributeList(defaults);
    }
    for (int i = 0; i < m_parentItem->GetCount();) {
        CControlUI* child = m_parentItem->GetItemAt(i);
        if (!child->GetInterface(L"MenuElement")) {
            ++i;
            continue;
        }
        m_parentItem->Detach(child);
        child->SetVisible(true);
        m_menu->Add(child);
    }
    m_pm.AttachDialog(m_menu);
    m_pm.AddNotifier(this);

    const SIZE size = m_menu->EstimateSize(SIZE{});
    m_pm.SetInitSize(size.cx, size.cy);
    RECT parentRect{};
    GetWindowRect(parentPm->GetPaintWindow(), &parentRect);
    const LONG itemTop = parentRect.top + m_parentItem->GetPos().top;
    RECT rc{parentRect.right, itemTop, parentRect.right + size.cx, itemTop + size.cy};

    // Menus opened before this one show which way the cascade runs: one below the
    // parent menu sends this one above it, one right of it sends this one to its left.
    bool movedUp = false;
    bool movedLeft = false;
    const HWND parentWindow = parentPm->GetPaintWindow();
    for (ReceiverImplBase* receiver : MenuObserver().Receivers()) {
        CMenuWnd* other = AsMenu(receiver);
        if (!other || other == this) continue;
        if (other->GetHWND() == parentWindow) break;
        RECT orc{};
        if (!GetWindowRect(other->GetHWND(), &orc)) continue;
        if (!movedUp && orc.top >= parentRect.bottom) {
            MoveBy(rc, 0, parentRect.top - rc.bottom);
            movedUp = true;
        }
        if (!movedLeft && orc.left >= parentRect.right) {
            MoveBy(rc, parentRect.left - rc.right, 0);
            movedLeft = true;
        }
    }
    // Into the work area of the parent menu's monitor.
    const RECT work = GetWorkArea(parentWindow);
    if (rc.bottom > work.bottom) MoveBy(rc, 0, itemTop - rc.bottom);
    if (rc.right > work.right) MoveBy(rc, parentRect.left - rc.right, 0);
    if (rc.top < work.top) MoveBy(rc, 0, itemTop - rc.top);
    if (rc.left < work.left) MoveBy(rc, parentRect.right - rc.left, 0);
    MoveWindow(m_hWnd, rc.left, rc.top, size.cx, size.cy, FALSE);
}

bool CMenuWnd::HasAncestor(HWND window) const {
    for (HWND up = GetParent(m_hWnd); up; up = GetParent(up)) {
        if (up == window) return true;
    }
    return false;
}

void CMenuWnd::DestroySubMenus() {
    const std::vector<ReceiverImplBase*> open = MenuObserver().Receivers();
    // The deepest first: each hands its items back to a menu that still exists.
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        CMenuWnd* menu = AsMenu(*it);
        if (menu && menu != this && menu->HasAncestor(m_hWnd)) DestroyWindow(menu->GetHWND());
    }
}

void CMenuWnd::Receive(const MenuCommand& command) {
    if (!m_hWnd) return;
    if (command.type == MenuCommandType::CloseAll ||
        (command.type == MenuCommandType::CloseSubMenus && HasAncestor(command.window))) {
        Close();
    }
}

LRESULT CMenuWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const HWND self = m_hWnd;
    switch (uMsg) {
        case WM_CREATE:
            m_pm.Init(m_hWnd);
            if (m_parentItem) {
                BuildSubMenu();
            } else {
                BuildTopLevel();
            }
            return 0;
        case WM_CLOSE:
            // The item that opened this sub-menu takes the keyboard back.
            if (m_parentItem && m_parentItem->GetManager()) {
                m_parentItem->GetManager()->SetFocus(m_parentItem);
            }
            return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        case WM_DESTROY:
            DestroySubMenus();
            return 0;
        case WM_CONTEXTMENU:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE || wParam == VK_LEFT) {
                if (m_parentItem) {
                    Close();
                } else {
                    MenuObserver().Broadcast(MenuCommand{MenuCommandType::CloseAll, nullptr});
                }
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN: {
            const POINT screen = ToScreen(self, lParam);
            const HWND under = MenuWindowAt(screen);
            // A press outside every popup closes them all.
            if (!under && uMsg != WM_MOUSEMOVE && uMsg != WM_LBUTTONUP) {
                MenuObserver().Broadcast(MenuCommand{MenuCommandType::CloseAll, nullptr});
                return 0;
            }
            // The popup under the pointer takes the mouse, and this input with it.
            if (under && under != self) {
                SetCapture(under);
                POINT local = screen;
                ScreenToClient(under, &local);
                UiLib::SendMessageW(under, uMsg, wParam, MAKELPARAM(local.x, local.y));
                if (uMsg != WM_MOUSEMOVE) return 0;  // a move also ends this popup's hover
            } else if (under == self && GetCapture() != self) {
                SetCapture(self);
            }
            break;
        }
        default:
            break;
    }
    LRESULT result = 0;
    const bool handled = m_pm.MessageHandler(uMsg, wParam, lParam, result);
    // A click releases the mouse; the open menu keeps it, to see the next click outside.
    if (uMsg == WM_LBUTTONUP && IsWindow(self) && !GetCapture()) SetCapture(self);
    if (handled) return result;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CMenuWnd::OnFinalMessage(HWND) {
    MenuObserver().RemoveReceiver(this);
    RemoveObserver();
    if (m_parentItem) {
        // The items go back into the item that opened this sub-menu, hidden there.
        while (m_menu && m_menu->GetCount() > 0) {
            CControlUI* child = m_menu->GetItemAt(0);
            m_menu->Detach(child);
            if (auto* item = static_cast<IListItemUI*>(child->GetInterface(L"ListItem"))) {
                item->Select(false);
                item->SetOwner(nullptr);
            }
            m_parentItem->Add(child);
        }
        m_parentItem->SubMenuClosed();
    }
    delete this;
}

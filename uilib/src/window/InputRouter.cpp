#include "uilib/src/window/InputRouter.h"

#include <algorithm>
#include <vector>

#include "uilib/core/Container.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/Win32Api.h"
#include "uilib/src/Backend.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib::detail {

namespace {

// Controls in reading order: layout order, except that the children of a container whose
// children all float (placed by position, in any order) are read by position, top to
// bottom, then left to right.
void CollectInReadingOrder(CControlUI* control, std::vector<CControlUI*>& out) {
    out.push_back(control);
    auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"));
    if (!container) return;
    std::vector<CControlUI*> children;
    bool allFloat = true;
    for (int i = 0; i < container->GetCount(); ++i) {
        children.push_back(container->GetItemAt(i));
        allFloat = allFloat && children.back()->IsFloat();
    }
    if (allFloat) {
        std::stable_sort(children.begin(), children.end(), [](CControlUI* a, CControlUI* b) {
            const RECT& ra = a->GetPos();
            const RECT& rb = b->GetPos();
            return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
        });
    }
    for (CControlUI* child : children) CollectInReadingOrder(child, out);
}

}  // namespace

bool InputRouter::Route(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    std::weak_ptr<int> life = pm_.m_life;
    for (IMessageFilterUI* filter : std::vector<IMessageFilterUI*>(pm_.m_filters)) {
        bool handled = false;
        const LRESULT r = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (life.expired()) return true;
        if (handled) {
            lRes = r;
            return true;
        }
    }
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (uMsg) {
        case WM_SIZE:
            if (pm_.m_pRoot) pm_.m_pRoot->NeedUpdate();
            pm_.m_bUpdateNeeded = true;
            pm_.Invalidate();
            return false;
        case WM_MOUSEMOVE:
            return MouseMove(pt, wParam);
        case WM_MOUSEHOVER: {
            pm_.UpdateLayout();
            pm_.m_ptLastMousePos = pt;
            CControlUI* control = pm_.FindControl(pt);
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_MOUSEHOVER;
            event.ptMouse = pt;
            return !pm_.DispatchEvent(control, event);
        }
        case WM_MOUSELEAVE:
            SetHotControl(nullptr, pm_.m_ptLastMousePos);
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
            return ButtonDown(uMsg, pt, wParam);
        case WM_LBUTTONUP:
            return LeftButtonUp(pt, wParam);
        case WM_RBUTTONUP:
            return RightButtonUp(pt);
        case WM_MOUSEWHEEL:
            return Wheel(wParam, lParam);
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            return Key(uMsg, wParam, lParam);
        default:
            return false;
    }
}

bool InputRouter::MouseMove(POINT pt, WPARAM wParam) {
    std::weak_ptr<int> life = pm_.m_life;
    pm_.UpdateLayout();
    pm_.m_ptLastMousePos = pt;
    SetHotControl(pm_.FindControl(pt), pt);
    if (life.expired()) return true;
    TEventUI event;
    event.Type = UIEVENT_MOUSEMOVE;
    event.ptMouse = pt;
    event.wParam = wParam;
    return !pm_.DispatchEvent(pm_.m_pEventClick ? pm_.m_pEventClick : pm_.m_pEventHover, event);
}

bool InputRouter::ButtonDown(UINT uMsg, POINT pt, WPARAM wParam) {
    std::weak_ptr<int> life = pm_.m_life;
    pm_.UpdateLayout();
    pm_.m_ptLastMousePos = pt;
    if (uMsg == WM_LBUTTONDOWN) {
        if (const UINT edges = SizeBoxEdges(pt)) {
            if (backend::NativeWindow* native = NativeOf(pm_.m_hWndPaint)) {
                native->StartSystemResize(edges);
            }
            return true;
        }
        if (IsCaptionPoint(pt)) {
            BeginWindowDrag(pm_.m_hWndPaint);
            return true;
        }
    }
    CControlUI* control = pm_.FindControl(pt);
    if (!control || control->GetManager() != &pm_) return false;
    std::weak_ptr<int> controlLife = control->m_life;
    control->SetFocus();
    if (life.expired()) return true;
    if (controlLife.expired() || control->GetManager() != &pm_) return false;
    TEventUI event;
    event.ptMouse = pt;
    event.wParam = wParam;
    if (uMsg == WM_RBUTTONDOWN) {
        event.Type = UIEVENT_RBUTTONDOWN;
    } else {
        pm_.m_pEventClick = control;
        pm_.SetCapture();
        event.Type = uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK;
    }
    return !pm_.DispatchEvent(control, event);
}

bool InputRouter::LeftButtonUp(POINT pt, WPARAM wParam) {
    pm_.UpdateLayout();
    pm_.m_ptLastMousePos = pt;
    pm_.ReleaseCapture();
    CControlUI* control = pm_.m_pEventClick;
    pm_.m_pEventClick = nullptr;
    if (!control) return false;
    TEventUI event;
    event.Type = UIEVENT_BUTTONUP;
    event.ptMouse = pt;
    event.wParam = wParam;
    return !pm_.DispatchEvent(control, event);
}

bool InputRouter::RightButtonUp(POINT pt) {
    pm_.UpdateLayout();
    CControlUI* control = pm_.FindControl(pt);
    if (!control) return false;
    TEventUI event;
    event.Type = UIEVENT_RBUTTONUP;
    event.ptMouse = pt;
    if (!pm_.DispatchEvent(control, event)) return true;
    if (pm_.FindControl(pt) != control) return false;
    event.Type = UIEVENT_CONTEXTMENU;
    return !pm_.DispatchEvent(control, event);
}

bool InputRouter::Wheel(WPARAM wParam, LPARAM lParam) {
    pm_.UpdateLayout();
    POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(pm_.m_hWndPaint, &client);
    CControlUI* control = pm_.FindControl(client);
    if (!control) return false;
    TEventUI event;
    event.Type = UIEVENT_SCROLLWHEEL;
    event.ptMouse = client;
    event.wParam = wParam;
    event.lParam = lParam;
    return !pm_.DispatchEvent(control, event);
}

bool InputRouter::Key(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_KEYDOWN && wParam == VK_TAB) {
        MoveFocusToNextTabStop(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    if (!pm_.m_pFocus) return false;
    TEventUI event;
    event.Type =
        uMsg == WM_KEYDOWN ? UIEVENT_KEYDOWN : (uMsg == WM_KEYUP ? UIEVENT_KEYUP : UIEVENT_CHAR);
    event.chKey = static_cast<TCHAR>(wParam);
    event.wParam = wParam;
    event.lParam = lParam;
    event.ptMouse = pm_.m_ptLastMousePos;
    return !pm_.DispatchEvent(pm_.m_pFocus, event);
}

void InputRouter::SetHotControl(CControlUI* control, POINT pt) {
    if (control == pm_.m_pEventHover) return;
    std::weak_ptr<int> life = pm_.m_life;
    if (CControlUI* old = pm_.m_pEventHover) {
        pm_.m_pEventHover = nullptr;
        TEventUI event;
        event.Type = UIEVENT_MOUSELEAVE;
        event.ptMouse = pt;
        if (!pm_.DispatchEvent(old, event)) return;
    }
    if (life.expired()) return;
    pm_.m_pEventHover = control;
    if (backend::NativeWindow* native = NativeOf(pm_.m_hWndPaint)) {
        native->SetToolTip(control ? control->GetToolTip().str() : std::wstring());
    }
    if (control) {
        TEventUI event;
        event.Type = UIEVENT_MOUSEENTER;
        event.ptMouse = pt;
        pm_.DispatchEvent(control, event);
    }
}

void InputRouter::MoveFocusToNextTabStop(bool forward) {
    if (!pm_.m_pRoot) return;
    pm_.UpdateLayout();
    std::vector<CControlUI*> all;
    CollectInReadingOrder(pm_.m_pRoot, all);
    const SIZE client = pm_.GetClientSize();
    const RECT window{0, 0, client.cx, client.cy};
    // Stops in reading (layout) order, each with its place among all controls, so that
    // a focus that is no stop itself still finds its neighbours.
    std::vector<std::pair<std::size_t, CControlUI*>> stops;
    std::size_t focusAt = all.size();
    for (std::size_t i = 0; i < all.size(); ++i) {
        CControlUI* c = all[i];
        if (c == pm_.m_pFocus) focusAt = i;
        if ((c->GetControlFlags() & UIFLAG_TABSTOP) && IsOnScreen(c, window))
            stops.emplace_back(i, c);
    }
    if (stops.empty()) return;
    CControlUI* target = nullptr;
    if (forward) {
        target = stops.front().second;  // after the last stop, the first again
        for (const auto& [at, c] : stops) {
            if (focusAt < all.size() && at > focusAt) {
                target = c;
                break;
            }
        }
    } else {
        target = stops.back().second;
        for (auto it = stops.rbegin(); it != stops.rend(); ++it) {
            if (focusAt < all.size() && it->first < focusAt) {
                target = it->second;
                break;
            }
        }
    }
    pm_.SetFocus(target);
}

bool InputRouter::IsOnScreen(const CControlUI* control, const RECT& window) {
    // Shown and usable along the whole way up, and not cut away by the window or by a
    // parent: a stop the person cannot see is no stop.
    RECT visible = control->GetPos();
    if (!IntersectRect(&visible, visible, window)) return false;
    for (const CControlUI* c = control; c; c = c->GetParent()) {
        if (!c->IsVisible() || !c->IsEnabled()) return false;
        if (c != control && !IntersectRect(&visible, visible, c->GetPos())) return false;
    }
    return true;
}

bool InputRouter::IsCaptionPoint(POINT pt) const {
    const RECT& rc = pm_.m_rcCaption;
    if (rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0) return false;
    const SIZE client = pm_.GetClientSize();
    const RECT caption{rc.left, rc.top, rc.right > 0 ? client.cx - rc.right : client.cx,
                       rc.bottom > 0 ? rc.bottom : client.cy};
    if (!PtInRect(caption, pt)) return false;
    const CControlUI* control = pm_.FindControl(pt);
    // Controls that take clicks keep them; the rest of the caption drags the window.
    return !control || !(control->GetControlFlags() & (UIFLAG_TABSTOP | UIFLAG_SETCURSOR));
}

UINT InputRouter::SizeBoxEdges(POINT pt) const {
    const RECT& box = pm_.m_rcSizeBox;
    const SIZE client = pm_.GetClientSize();
    UINT edges = 0;
    if (box.left > 0 && pt.x < box.left) edges |= backend::kEdgeLeft;
    if (box.right > 0 && pt.x >= client.cx - box.right) edges |= backend::kEdgeRight;
    if (box.top > 0 && pt.y < box.top) edges |= backend::kEdgeTop;
    if (box.bottom > 0 && pt.y >= client.cy - box.bottom) edges |= backend::kEdgeBottom;
    return edges;
}

}  // namespace UiLib::detail

#include "uilib/core/PaintManager.h"

#include <algorithm>
#include <map>

#include "uilib/core/Container.h"
#include "uilib/core/Win32Api.h"
#include "uilib/src/Backend.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/window/InputRouter.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib {

namespace {

// Events being delivered right now (of any window); a manager destroyed meanwhile
// keeps its controls alive until the delivery has finished.
int g_eventDepth = 0;

CControlUI* FindFromPoint(CControlUI* control, LPVOID data) {
    return PtInRect(control->GetPos(), *static_cast<const POINT*>(data)) ? control : nullptr;
}

CControlUI* FindFromName(CControlUI* control, LPVOID data) {
    return control->GetName() == static_cast<LPCTSTR>(data) ? control : nullptr;
}

bool IsInside(const CControlUI* control, const CControlUI* ancestor) {
    for (const CControlUI* p = control; p; p = p->GetParent()) {
        if (p == ancestor) return true;
    }
    return false;
}

void CollectPreOrder(CControlUI* control, std::vector<CControlUI*>& out) {
    out.push_back(control);
    if (auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"))) {
        for (int i = 0; i < container->GetCount(); ++i)
            CollectPreOrder(container->GetItemAt(i), out);
    }
}

// Lays out controls that asked for it; returns true when something was laid out.
bool UpdateMarked(CControlUI* control) {
    if (!control->IsVisible()) return false;
    if (control->IsUpdateNeeded()) {
        control->SetPos(control->GetPos(), false);
        return true;
    }
    bool any = false;
    if (auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"))) {
        for (int i = 0; i < container->GetCount(); ++i)
            any |= UpdateMarked(container->GetItemAt(i));
    }
    return any;
}

}  // namespace

struct CPaintManagerUI::Timers {
    std::map<std::pair<CControlUI*, UINT>, std::unique_ptr<backend::Timer>> timers;
};

CPaintManagerUI::CPaintManagerUI()
    : m_timers(std::make_unique<Timers>()), m_life(std::make_shared<int>(0)) {
    m_szMaxWindow = SIZE{0, 0};
}

CPaintManagerUI::~CPaintManagerUI() {
    m_bDestroying = true;
    RemoveAllTimers();
    if (detail::ManagerOf(m_hWndPaint) == this) detail::SetManagerOf(m_hWndPaint, nullptr);
    m_trayIcon.DeleteTrayIcon();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    m_pFocus = m_pEventHover = m_pEventClick = nullptr;
    if (root) {
        root->SetManager(nullptr, nullptr, false);
        if (g_eventDepth > 0) {
            // A control of this window is still handling an event: let it finish.
            detail::PostToUi([root] { delete root; });
        } else {
            delete root;
        }
    }
    RunDelayedCleanup();
}

void CPaintManagerUI::Init(HWND hWnd) {
    m_hWndPaint = hWnd;
    detail::SetManagerOf(hWnd, this);
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{cx, cy};
    if (!m_pRoot && cx > 0 && cy > 0) {
        if (backend::NativeWindow* native = detail::NativeOf(m_hWndPaint)) {
            native->Resize(SIZE{cx, cy});
        }
    }
}

SIZE CPaintManagerUI::GetClientSize() const {
    if (backend::NativeWindow* native = detail::NativeOf(m_hWndPaint)) {
        const RECT at = native->Geometry();
        return SIZE{at.right - at.left, at.bottom - at.top};
    }
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetCaptionRect(RECT& rcCaption) {
    m_rcCaption = rcCaption;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy) {
    m_szRoundCorner = SIZE{cx, cy};
    ApplyWindowShape();
}

void CPaintManagerUI::SetMinInfo(int cx, int cy) {
    m_szMinWindow = SIZE{std::max(0, cx), std::max(0, cy)};
    ApplyWindowShape();
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy) {
    m_szMaxWindow = SIZE{std::max(0, cx), std::max(0, cy)};
    ApplyWindowShape();
}

void CPaintManagerUI::SetSizeBox(RECT& rcSizeBox) {
    m_rcSizeBox = rcSizeBox;
}

void CPaintManagerUI::SetTransparent(int nOpacity) {
    m_nOpacity = std::clamp(nOpacity, 0, 255);
    SetWindowAlpha(m_hWndPaint, static_cast<BYTE>(m_nOpacity));
}

void CPaintManagerUI::ApplyWindowShape() {
    backend::NativeWindow* native = detail::NativeOf(m_hWndPaint);
    if (!native) return;
    native->SetRoundCorners(m_szRoundCorner);
    native->SetSizeLimits(m_szMinWindow, m_szMaxWindow);
}

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
    if (!pControl || pControl == m_pRoot) return false;
    if (m_pRoot) {
        CControlUI* old = m_pRoot;
        ReapObjects(old);
        old->SetManager(nullptr, nullptr, false);
        AddDelayedCleanup(old);
    }
    m_pRoot = pControl;
    m_pFocus = m_pEventHover = m_pEventClick = nullptr;
    m_nameCache.clear();
    InitControls(pControl, nullptr);
    // Until the window has drawn, the desktop shows the root's colour (white without an
    // opaque one, as painting starts with white): never black.
    if (backend::NativeWindow* native = detail::NativeOf(m_hWndPaint)) {
        const DWORD bk = pControl->GetBkColor();
        native->SetBackdrop((bk >> 24) == 0xFF ? bk : 0xFFFFFFFF);
    }
    m_bUpdateNeeded = true;
    Invalidate();
    return true;
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent) {
    if (!pControl) return false;
    pControl->SetManager(this, pParent ? pParent : pControl->GetParent(), true);
    m_bUpdateNeeded = true;
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
    if (!pControl || m_bDestroying) return;
    if (m_pEventClick && IsInside(m_pEventClick, pControl)) m_pEventClick = nullptr;
    if (m_pEventHover && IsInside(m_pEventHover, pControl)) m_pEventHover = nullptr;
    if (m_pFocus && IsInside(m_pFocus, pControl)) m_pFocus = nullptr;
    for (auto it = m_nameCache.begin(); it != m_nameCache.end();) {
        it = IsInside(it->second, pControl) ? m_nameCache.erase(it) : std::next(it);
    }
    std::erase_if(m_timers->timers,
                  [pControl](const auto& timer) { return IsInside(timer.first.first, pControl); });
    if (pControl == m_pRoot) m_pRoot = nullptr;
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl) {
    if (!pControl) return;
    m_delayedCleanup.push_back(pControl);
    if (m_bCleanupPosted) return;
    m_bCleanupPosted = true;
    std::weak_ptr<int> life = m_life;
    detail::PostToUi([this, life] {
        if (life.lock()) RunDelayedCleanup();
    });
}

void CPaintManagerUI::RunDelayedCleanup() {
    m_bCleanupPosted = false;
    std::vector<CControlUI*> items;
    items.swap(m_delayedCleanup);
    for (CControlUI* c : items) delete c;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (!m_pRoot) return nullptr;
    return m_pRoot->FindControl(FindFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR pstrName) const {
    if (!m_pRoot || !pstrName) return nullptr;
    const auto it = m_nameCache.find(pstrName);
    if (it != m_nameCache.end() && it->second->GetName() == pstrName) return it->second;
    CControlUI* found = m_pRoot->FindControl(FindFromName, const_cast<wchar_t*>(pstrName),
                                             UIFIND_ALL | UIFIND_ME_FIRST);
    if (found) {
        m_nameCache[pstrName] = found;
    } else if (it != m_nameCache.end()) {
        m_nameCache.erase(it);
    }
    return found;
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const {
    if (!pParent) pParent = m_pRoot;
    if (!pParent) return nullptr;
    return pParent->FindControl(FindFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCTSTR pstrName) const {
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrName) return nullptr;
    return pParent->FindControl(FindFromName, const_cast<wchar_t*>(pstrName),
                                UIFIND_ALL | UIFIND_ME_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCTSTR pstrClass,
                                                   int iIndex) {
    const auto all = FindSubControlsByClass(pParent, pstrClass);
    if (iIndex < 0 || iIndex >= static_cast<int>(all.size())) return nullptr;
    return all[static_cast<size_t>(iIndex)];
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent,
                                                                 LPCTSTR pstrClass) {
    if (!pParent) pParent = m_pRoot;
    std::vector<CControlUI*> all;
    std::vector<CControlUI*> out;
    if (!pParent) return out;
    CollectPreOrder(pParent, all);
    for (CControlUI* c : all) {
        if (EqualsNoCase(c->GetClass(), pstrClass)) out.push_back(c);
    }
    return out;
}

bool CPaintManagerUI::DispatchEvent(CControlUI* pControl, TEventUI event) {
    if (!pControl) return true;
    std::weak_ptr<int> life = m_life;
    event.pSender = pControl;
    event.dwTimestamp = GetTickCount();
    ++g_eventDepth;
    pControl->Event(event);
    --g_eventDepth;
    return !life.expired();
}

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
    if (pControl == m_pFocus) return;
    if (pControl &&
        (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled())) {
        return;
    }
    std::weak_ptr<int> life = m_life;
    if (CControlUI* old = m_pFocus) {
        m_pFocus = nullptr;
        TEventUI event;
        event.Type = UIEVENT_KILLFOCUS;
        event.wParam = reinterpret_cast<WPARAM>(pControl);
        std::weak_ptr<int> oldLife = old->m_life;
        if (!DispatchEvent(old, event)) return;
        if (!oldLife.expired()) SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
        if (life.expired()) return;
    }
    if (!pControl || pControl->GetManager() != this) return;
    m_pFocus = pControl;
    TEventUI event;
    event.Type = UIEVENT_SETFOCUS;
    std::weak_ptr<int> newLife = pControl->m_life;
    if (!DispatchEvent(pControl, event)) return;
    if (newLife.expired() || m_pFocus != pControl) return;
    // A screen reader says what has the focus now.
    if (backend::NativeWindow* native = detail::NativeOf(m_hWndPaint)) {
        native->AnnounceFocus(pControl->GetAccessId());
    }
    if (m_pFocus == pControl) SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
    backend::Backend* b = backend::CurrentBackend();
    if (!pControl || !b || !detail::IsUiThread()) return false;
    auto& slot = m_timers->timers[{pControl, nTimerID}];
    if (!slot) {
        std::weak_ptr<int> life = m_life;
        slot = b->CreateTimer([this, life, pControl, nTimerID] {
            if (life.expired()) return;
            TEventUI event;
            event.Type = UIEVENT_TIMER;
            event.wParam = nTimerID;
            DispatchEvent(pControl, event);
        });
    }
    slot->Start(std::max<UINT>(uElapse, 1));
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
    // Also from inside the timer's own event: a timer may be destroyed there.
    return m_timers->timers.erase({pControl, nTimerID}) != 0;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
    std::erase_if(m_timers->timers,
                  [pControl](const auto& timer) { return timer.first.first == pControl; });
}

void CPaintManagerUI::RemoveAllTimers() {
    m_timers->timers.clear();
}

void CPaintManagerUI::SetCapture() {
    ::UiLib::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
    if (::UiLib::GetCapture() == m_hWndPaint) ::UiLib::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pControl) {
    if (!pControl ||
        std::find(m_notifiers.begin(), m_notifiers.end(), pControl) != m_notifiers.end()) {
        return false;
    }
    m_notifiers.push_back(pControl);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pControl) {
    const auto before = m_notifiers.size();
    std::erase(m_notifiers, pControl);
    return m_notifiers.size() != before;
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync) {
    Msg.ptMouse = m_ptLastMousePos;
    Msg.dwTimestamp = GetTickCount();
    if (bAsync) {
        std::weak_ptr<int> life = m_life;
        std::weak_ptr<int> senderLife;
        if (Msg.pSender) senderLife = Msg.pSender->m_life;
        TNotifyUI copy = Msg;
        detail::PostToUi([this, life, senderLife, copy]() mutable {
            if (life.expired() || (copy.pSender && senderLife.expired())) return;
            SendNotify(copy, false);
        });
        return;
    }
    std::weak_ptr<int> life = m_life;
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) {
        if (life.expired()) return;
        if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
            continue;
        notifier->Notify(Msg);
    }
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam,
                                 LPARAM lParam, bool bAsync) {
    TNotifyUI msg;
    msg.pSender = pControl;
    msg.sType = pstrMessage;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, bAsync);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
    if (!pFilter || std::find(m_filters.begin(), m_filters.end(), pFilter) != m_filters.end())
        return false;
    m_filters.push_back(pFilter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
    const auto before = m_filters.size();
    std::erase(m_filters, pFilter);
    return m_filters.size() != before;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    return detail::InputRouter(*this).Route(uMsg, wParam, lParam, lRes);
}

void CPaintManagerUI::Invalidate() {
    if (backend::NativeWindow* native = detail::NativeOf(m_hWndPaint)) native->Invalidate(nullptr);
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
    if (IsRectEmpty(rcItem)) return;
    if (backend::NativeWindow* native = detail::NativeOf(m_hWndPaint)) native->Invalidate(&rcItem);
}

void CPaintManagerUI::UpdateLayout() {
    if (!m_pRoot) return;
    const SIZE size = GetClientSize();
    if (m_pRoot->GetPos() != RECT{0, 0, size.cx, size.cy}) m_bUpdateNeeded = true;
    for (int pass = 0; pass < 4 && m_bUpdateNeeded; ++pass) {
        m_bUpdateNeeded = false;
        const SIZE client = GetClientSize();
        const RECT rc{0, 0, client.cx, client.cy};
        if (m_pRoot->IsUpdateNeeded() || m_pRoot->GetPos() != rc) {
            m_pRoot->SetPos(rc, false);
        } else {
            UpdateMarked(m_pRoot);
        }
    }
}

void CPaintManagerUI::RenderTo(HDC hDC, const RECT& rcPaint) {
    UpdateLayout();
    if (!m_pRoot) return;
    ++g_eventDepth;
    m_pRoot->DoPaint(hDC, rcPaint);
    --g_eventDepth;
}

}  // namespace UiLib

#include "uilib/core/WindowWnd.h"

#include <algorithm>
#include <mutex>

#include "uilib/core/PaintManager.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/resources/ResourceRegistry.h"
#include "uilib/src/window/WindowImpl.h"
#include "uilib/src/window/WindowInput.h"

namespace UiLib {

namespace {

// The program's announcer of top-level windows (SetWindowAnnouncer).
struct Announcer {
    std::mutex mutex;
    WindowAnnouncer announcer;
};

Announcer& Announcing() {
    static Announcer a;
    return a;
}

}  // namespace

void SetWindowAnnouncer(WindowAnnouncer announcer) {
    std::lock_guard<std::mutex> lock(Announcing().mutex);
    Announcing().announcer = std::move(announcer);
}

CWindowWnd::Impl::Impl() = default;
CWindowWnd::Impl::~Impl() = default;

namespace detail {

CWindowWnd::Impl* ImplOf(HWND hWnd) {
    CWindowWnd* wnd = WindowFromHandle(hWnd);
    return wnd ? wnd->GetImpl() : nullptr;
}

backend::NativeWindow* NativeOf(HWND hWnd) {
    CWindowWnd::Impl* impl = ImplOf(hWnd);
    return impl ? impl->native.get() : nullptr;
}

CPaintManagerUI* ManagerOf(HWND hWnd) {
    CWindowWnd::Impl* impl = ImplOf(hWnd);
    return impl ? impl->manager : nullptr;
}

void SetManagerOf(HWND hWnd, CPaintManagerUI* manager) {
    if (CWindowWnd::Impl* impl = ImplOf(hWnd)) impl->manager = manager;
}

backend::Bitmap SnapshotWindow(HWND hWnd, double pixelRatio) {
    backend::NativeWindow* native = NativeOf(hWnd);
    if (!native) return backend::Bitmap();
    if (CPaintManagerUI* manager = ManagerOf(hWnd)) manager->UpdateLayout();
    return native->Snapshot(pixelRatio);
}

bool HoverPending(HWND hWnd) {
    CWindowWnd::Impl* impl = ImplOf(hWnd);
    return impl && impl->input && impl->input->HoverPending();
}

}  // namespace detail

void CWindowWnd::Impl::ApplyStyle() {
    if (native) native->SetStyle((exStyle & WS_EX_TOPMOST) != 0, (exStyle & WS_EX_TOOLWINDOW) != 0);
}

void CWindowWnd::Impl::Announce(HWND hWnd) {
    if (className.empty() || owner) return;
    WindowAnnouncer announcer;
    {
        std::lock_guard<std::mutex> lock(Announcing().mutex);
        announcer = Announcing().announcer;
    }
    if (!announcer) return;
    try {
        announcement = announcer(className, title, [hWnd] {
            detail::PostToUi([hWnd] {
                ::UiLib::ShowWindow(hWnd, SW_SHOW);
                ::UiLib::SetForegroundWindow(hWnd);
            });
        });
    } catch (...) {
        // Another process cannot find this window then; the window itself works.
        announcement.reset();
    }
}

void CWindowWnd::Impl::SetTitle(const std::wstring& text) {
    title = text;
    if (native) native->SetTitle(title);
    if (announcement) announcement->SetTitle(title);
}

void CWindowWnd::Impl::Release(HWND hWnd) {
    timers.clear();  // a timer may be the one whose message is being handled: allowed
    announcement.reset();
    if (::UiLib::GetCapture() == hWnd) ::UiLib::ReleaseCapture();
    detail::UnregisterWindow(hWnd);
    if (input) input->Detach();
    native.reset();
    visible = false;
    if (owner) ::UiLib::EnableWindow(owner, TRUE);
}

BOOL CWindowWnd::Impl::Destroy(CWindowWnd* wnd) {
    Impl* impl = wnd->m_impl.get();
    if (!impl || impl->destroying || !wnd->m_hWnd) return FALSE;
    impl->destroying = true;
    const HWND hWnd = wnd->m_hWnd;
    wnd->HandleMessage(WM_DESTROY, 0, 0);
    impl->Release(hWnd);
    wnd->m_hWnd = nullptr;
    impl->destroying = false;
    detail::WakeLoops();
    wnd->OnFinalMessage(hWnd);  // may delete wnd
    return TRUE;
}

void CWindowWnd::Impl::NotePostedClose(CWindowWnd* wnd, WPARAM code) {
    if (wnd->m_impl && wnd->m_impl->modalResult) {
        *wnd->m_impl->modalResult = static_cast<UINT>(code);
    }
}

CWindowWnd::CWindowWnd() : m_impl(std::make_unique<Impl>()) {}

CWindowWnd::~CWindowWnd() {
    // A window object going away with its window still open: the window goes too, but
    // the derived class is already gone, so no more messages are delivered.
    if (m_hWnd) {
        m_impl->Release(m_hWnd);
        m_hWnd = nullptr;
        detail::WakeLoops();
    }
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                        const RECT rc, HMENU hMenu) {
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x,
                        int y, int cx, int cy, HMENU) {
    backend::Backend* b = backend::CurrentBackend();
    if (m_hWnd || !b || !detail::IsUiThread()) return nullptr;
    Impl& impl = *m_impl;
    impl.owner = ::UiLib::IsWindow(hwndParent) ? hwndParent : nullptr;
    impl.style = dwStyle;
    impl.exStyle = dwExStyle;
    impl.title = pstrName ? pstrName : L"";
    LPCTSTR cls = GetWindowClassName();
    impl.className = cls ? cls : L"";

    m_hWnd = detail::RegisterWindow(this);
    impl.input = std::make_unique<detail::WindowInput>(m_hWnd);
    impl.native = b->CreateNativeWindow(*impl.input, impl.className);
    impl.ApplyStyle();
    impl.native->SetTitle(impl.title);
    if (impl.owner) impl.native->SetOwner(detail::NativeOf(impl.owner));
    const int px = x == CW_USEDEFAULT ? 0 : x;
    const int py = y == CW_USEDEFAULT ? 0 : y;
    const int pw = (cx == CW_USEDEFAULT || cx <= 0) ? 1 : cx;
    const int ph = (cy == CW_USEDEFAULT || cy <= 0) ? 1 : cy;
    impl.native->Move(POINT{px, py});
    impl.native->Resize(SIZE{pw, ph});
    if (dwStyle & WS_DISABLED) impl.native->SetEnabled(false);

    const HWND hWnd = m_hWnd;
    if (HandleMessage(WM_CREATE, 0, 0) == -1) {
        Impl::Destroy(this);
        return nullptr;
    }
    if (!::UiLib::IsWindow(hWnd)) return nullptr;  // destroyed while being created
    impl.Announce(hWnd);
    if (dwStyle & WS_VISIBLE) {
        // Shown once the loop runs, unless hidden before that.
        impl.visible = true;
        detail::PostToUi([hWnd] {
            Impl* i = detail::ImplOf(hWnd);
            if (i && i->visible && i->native && !i->native->IsShown()) {
                i->native->Show(backend::ShowMode::Normal);
            }
        });
    }
    return hWnd;
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
    ::UiLib::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
    if (!m_hWnd) return 0;
    const HWND hWnd = m_hWnd;
    const HWND owner = m_impl->owner;
    UINT result = 0;
    m_impl->modalResult = &result;
    ::UiLib::ShowWindow(hWnd, SW_SHOWNORMAL);
    if (owner) ::UiLib::EnableWindow(owner, FALSE);
    detail::RunLoopUntil([hWnd] { return !::UiLib::IsWindow(hWnd); });
    if (Impl* impl = detail::ImplOf(hWnd)) impl->modalResult = nullptr;
    if (owner && ::UiLib::IsWindow(owner)) {
        ::UiLib::EnableWindow(owner, TRUE);
        if (::UiLib::IsWindowVisible(owner)) ::UiLib::SetForegroundWindow(owner);
    }
    return result;
}

void CWindowWnd::Close(UINT nRet) {
    if (m_hWnd) ::UiLib::PostMessageW(m_hWnd, WM_CLOSE, nRet, 0);
}

void CWindowWnd::CenterWindow() {
    if (!m_hWnd) return;
    RECT rcWnd{};
    ::UiLib::GetWindowRect(m_hWnd, &rcWnd);
    const int w = rcWnd.right - rcWnd.left;
    const int h = rcWnd.bottom - rcWnd.top;
    RECT area = ::UiLib::GetWorkArea(m_hWnd);
    const HWND owner = m_impl->owner;
    if (owner && ::UiLib::IsWindowVisible(owner)) ::UiLib::GetWindowRect(owner, &area);
    int x = (area.left + area.right - w) / 2;
    int y = (area.top + area.bottom - h) / 2;
    const RECT work = ::UiLib::GetWorkArea(m_hWnd);
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    ::UiLib::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
    if (!m_impl->native) return;
    if (const auto icon = detail::DecodeIcon(::UiLib::LoadIconW(nullptr, MAKEINTRESOURCE(nRes)))) {
        m_impl->native->SetIcon(icon.get());
    }
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (!m_impl->native) return;
    const RECT at = m_impl->native->Geometry();
    if (cx < 0) cx = at.right - at.left;
    if (cy < 0) cy = at.bottom - at.top;
    m_impl->native->Resize(SIZE{std::max(cx, 1), std::max(cy, 1)});
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::UiLib::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::UiLib::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

DWORD CWindowWnd::GetStyle() const {
    return m_impl->style;
}
DWORD CWindowWnd::GetExStyle() const {
    return m_impl->exStyle;
}
void CWindowWnd::SetStyle(DWORD dwStyle) {
    m_impl->style = dwStyle;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM) {
    switch (uMsg) {
        case WM_CLOSE:
            ::UiLib::DestroyWindow(m_hWnd);
            return 0;
        case WM_NCLBUTTONDOWN:
            if (wParam == HTCAPTION) ::UiLib::BeginWindowDrag(m_hWnd);
            return 0;
        case WM_NCACTIVATE:
            return TRUE;
        default:
            return 0;
    }
}

void CWindowWnd::OnFinalMessage(HWND) {}

}  // namespace UiLib

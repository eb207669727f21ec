#include <QApplication>
#include <QScreen>
#include <QWindow>

#include "uilib/src/Dispatch.h"
#include "uilib/src/Tray.h"
#include "uilib/src/WindowImpl.h"

#ifdef UILIB_HAVE_WINDOW_REGISTRY
#include "platform/WindowRegistry.h"
#else
namespace platform {
// Without the platform's window registry, windows are simply not announced.
class WindowRegistration {
public:
    WindowRegistration(const std::wstring&, const std::wstring&, std::function<void()>) {}
    void SetTitle(const std::wstring&) {}
};
}  // namespace platform
#endif

namespace UiLib {

CWindowWnd::Impl::Impl() = default;
CWindowWnd::Impl::~Impl() = default;

namespace detail {
CWindowWnd::Impl* ImplOf(HWND hWnd) {
    CWindowWnd* wnd = WindowFromHandle(hWnd);
    return wnd ? wnd->GetImpl() : nullptr;
}

WindowHost* HostOf(HWND hWnd) {
    CWindowWnd::Impl* impl = ImplOf(hWnd);
    return impl ? impl->host.data() : nullptr;
}
}  // namespace detail

void CWindowWnd::Impl::ApplyFlags() {
    if (!host) return;
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    flags |= (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    if (exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    if (host->windowFlags() == flags) return;
    const bool shown = host->isVisible();
    host->setWindowFlags(flags);  // hides the widget
    if (shown) host->show();
}

void CWindowWnd::Impl::RegisterWithRegistry(HWND hWnd) {
    if (className.empty() || owner) return;
    try {
        registration = std::make_unique<platform::WindowRegistration>(className, title, [hWnd] {
            detail::PostToUi([hWnd] {
                ::UiLib::ShowWindow(hWnd, SW_SHOW);
                ::UiLib::SetForegroundWindow(hWnd);
            });
        });
    } catch (...) {
        // Another process cannot find this window then; the window itself works.
        registration.reset();
    }
}

void CWindowWnd::Impl::DropTimers() {
    for (auto& [id, timer] : timers) {
        timer->stop();
        timer.release()->deleteLater();
    }
    timers.clear();
}

void CWindowWnd::Impl::SetTitle(const std::wstring& text) {
    title = text;
    if (host) host->setWindowTitle(QString::fromStdWString(title));
    if (registration) registration->SetTitle(title);
}

BOOL CWindowWnd::Impl::Destroy(CWindowWnd* wnd) {
    Impl* impl = wnd->m_impl.get();
    if (!impl || impl->destroying || !wnd->m_hWnd) return FALSE;
    impl->destroying = true;
    const HWND hWnd = wnd->m_hWnd;
    wnd->HandleMessage(WM_DESTROY, 0, 0);
    impl->DropTimers();
    impl->registration.reset();
    detail::RemoveTrayIconsOf(hWnd);
    if (::UiLib::GetCapture() == hWnd) ::UiLib::ReleaseCapture();
    detail::UnregisterWindow(hWnd);
    if (impl->host) {
        impl->host->Detach();
        impl->host->hide();
        impl->host->deleteLater();
        impl->host = nullptr;
    }
    impl->visible = false;
    if (impl->owner) ::UiLib::EnableWindow(impl->owner, TRUE);
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
        const HWND hWnd = m_hWnd;
        m_impl->DropTimers();
        m_impl->registration.reset();
        detail::RemoveTrayIconsOf(hWnd);
        if (::UiLib::GetCapture() == hWnd) ::UiLib::ReleaseCapture();
        detail::UnregisterWindow(hWnd);
        if (m_impl->host) {
            m_impl->host->Detach();
            m_impl->host->hide();
            m_impl->host->deleteLater();
        }
        if (m_impl->owner) ::UiLib::EnableWindow(m_impl->owner, TRUE);
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
    if (m_hWnd || !QApplication::instance() || !detail::IsUiThread()) return nullptr;
    Impl& impl = *m_impl;
    impl.owner = ::UiLib::IsWindow(hwndParent) ? hwndParent : nullptr;
    impl.style = dwStyle;
    impl.exStyle = dwExStyle;
    impl.title = pstrName ? pstrName : L"";
    LPCTSTR cls = GetWindowClassName();
    impl.className = cls ? cls : L"";

    m_hWnd = detail::RegisterWindow(this);
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    flags |= (dwExStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    if (dwExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    impl.host = new detail::WindowHost(m_hWnd, flags);  // deleted in Destroy
    impl.host->setWindowTitle(QString::fromStdWString(impl.title));
    impl.host->setObjectName(QString::fromStdWString(impl.className));
    if (impl.owner) {
        if (detail::WindowHost* ownerHost = detail::HostOf(impl.owner)) {
            impl.host->winId();
            ownerHost->winId();
            if (impl.host->windowHandle() && ownerHost->windowHandle()) {
                impl.host->windowHandle()->setTransientParent(ownerHost->windowHandle());
            }
        }
    }
    const int px = x == CW_USEDEFAULT ? 0 : x;
    const int py = y == CW_USEDEFAULT ? 0 : y;
    const int pw = (cx == CW_USEDEFAULT || cx <= 0) ? 1 : cx;
    const int ph = (cy == CW_USEDEFAULT || cy <= 0) ? 1 : cy;
    impl.host->setGeometry(px, py, pw, ph);
    if (dwStyle & WS_DISABLED) impl.host->setEnabled(false);

    const HWND hWnd = m_hWnd;
    if (HandleMessage(WM_CREATE, 0, 0) == -1) {
        Impl::Destroy(this);
        return nullptr;
    }
    if (!::UiLib::IsWindow(hWnd)) return nullptr;  // destroyed while being created
    impl.RegisterWithRegistry(hWnd);
    if (dwStyle & WS_VISIBLE) {
        // Shown once the loop runs, unless hidden before that.
        impl.visible = true;
        detail::PostToUi([hWnd] {
            Impl* i = detail::ImplOf(hWnd);
            if (i && i->visible && i->host && !i->host->isVisible()) i->host->show();
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
    if (!m_impl->host) return;
    const QIcon icon = detail::IconFromHandle(::UiLib::LoadIconW(nullptr, MAKEINTRESOURCE(nRes)));
    if (!icon.isNull()) m_impl->host->setWindowIcon(icon);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (!m_impl->host) return;
    if (cx < 0) cx = m_impl->host->width();
    if (cy < 0) cy = m_impl->host->height();
    m_impl->host->resize(std::max(cx, 1), std::max(cy, 1));
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

#include "uilib/testing/UiTestDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWheelEvent>
#include <cstdlib>
#include <memory>

#include "uilib/src/Dispatch.h"
#include "uilib/src/Hooks.h"
#include "uilib/src/WindowHost.h"
#include "uilib/src/WindowImpl.h"

namespace UiLib::testing {

namespace {

int g_argc = 1;
char g_name[] = "uilib-test";
char* g_argv[] = {g_name, nullptr};

void EnsureApplication() {
    if (CApplication::Exists()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole test process and deliberately never destroyed: at exit the
    // toolkit's own process-wide objects may already be gone.
    static const CApplication* const app = new CApplication(g_argc, g_argv);
    (void)app;
}

detail::WindowHost* Host(HWND hWnd) {
    return detail::HostOf(hWnd);
}

int QtKeyFromVk(UINT vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + static_cast<int>(vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + static_cast<int>(vk - '0');
    switch (vk) {
        case VK_RETURN:
            return Qt::Key_Return;
        case VK_ESCAPE:
            return Qt::Key_Escape;
        case VK_LEFT:
            return Qt::Key_Left;
        case VK_RIGHT:
            return Qt::Key_Right;
        case VK_UP:
            return Qt::Key_Up;
        case VK_DOWN:
            return Qt::Key_Down;
        case VK_TAB:
            return Qt::Key_Tab;
        case VK_BACK:
            return Qt::Key_Backspace;
        case VK_DELETE:
            return Qt::Key_Delete;
        case VK_SPACE:
            return Qt::Key_Space;
        default:
            return 0;
    }
}

QString KeyText(UINT vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return QString(QChar(static_cast<char16_t>(vk)));
    if (vk == VK_RETURN) return QStringLiteral("\r");
    if (vk == VK_SPACE) return QStringLiteral(" ");
    return QString();
}

bool SendMouse(HWND hWnd, QEvent::Type type, POINT pt, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    detail::WindowHost* host = Host(hWnd);
    if (!host) return false;
    const QPointF local(pt.x, pt.y);
    const QPointF global = host->mapToGlobal(local);
    QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(host, &event);
    return true;
}

}  // namespace

UiTestDriver::UiTestDriver() {
    EnsureApplication();
    detail::SetMessageBoxHook(
        [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
            questions_.push_back(AskedQuestion{owner, text, caption, type});
            if (answers_.empty()) {
                ++unexpectedQuestions_;
                return (type & 0x0F) == MB_YESNO ? IDNO : IDCANCEL;
            }
            const int answer = answers_.front();
            answers_.erase(answers_.begin());
            return answer;
        });
    detail::SetMenuHook([this](HWND, const std::vector<detail::MenuItemInfo>& items) -> UINT_PTR {
        std::vector<ShownMenuItem> shown;
        for (const auto& item : items) {
            shown.push_back(ShownMenuItem{item.id, item.text, (item.flags & MF_SEPARATOR) != 0});
        }
        menus_.push_back(std::move(shown));
        if (menuPicks_.empty()) return 0;
        const UINT_PTR id = menuPicks_.front();
        menuPicks_.erase(menuPicks_.begin());
        return id;
    });
}

UiTestDriver::~UiTestDriver() {
    detail::SetMessageBoxHook(nullptr);
    detail::SetMenuHook(nullptr);
    detail::SetTrayAvailableOverride(-1);
    Pump();
    detail::ClearQuit();
}

void UiTestDriver::Pump() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

bool UiTestDriver::PumpUntil(const std::function<bool()>& condition,
                             std::chrono::milliseconds deadline) {
    QElapsedTimer clock;
    clock.start();
    while (true) {
        Pump();
        if (condition()) return true;
        if (clock.elapsed() >= deadline.count()) return condition();
        // Let timers come due without spinning.
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void UiTestDriver::Defer(std::function<void()> fn) {
    detail::PostToUi(std::move(fn));
}

bool UiTestDriver::QuitRequested() const {
    return detail::QuitRequested();
}
int UiTestDriver::QuitCode() const {
    return detail::QuitCode();
}
void UiTestDriver::ResetQuit() {
    detail::ClearQuit();
}

CPaintManagerUI* UiTestDriver::Manager(HWND hWnd) const {
    detail::WindowHost* host = Host(hWnd);
    return host ? host->Manager() : nullptr;
}

CControlUI* UiTestDriver::Find(HWND hWnd, LPCTSTR name) const {
    CPaintManagerUI* manager = Manager(hWnd);
    return manager ? manager->FindControl(name) : nullptr;
}

POINT UiTestDriver::CenterOf(HWND hWnd, LPCTSTR name) const {
    CPaintManagerUI* manager = Manager(hWnd);
    if (!manager) return POINT{-1, -1};
    manager->UpdateLayout();
    CControlUI* control = manager->FindControl(name);
    if (!control || !control->IsVisible()) return POINT{-1, -1};
    const RECT& rc = control->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool UiTestDriver::Click(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    return pt.x >= 0 && ClickAt(hWnd, pt);
}

bool UiTestDriver::ClickAt(HWND hWnd, POINT pt) {
    if (!MoveMouse(hWnd, pt)) return false;
    SendMouse(hWnd, QEvent::MouseButtonPress, pt, Qt::LeftButton, Qt::LeftButton);
    SendMouse(hWnd, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
    Pump();
    return true;
}

bool UiTestDriver::DoubleClick(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    if (pt.x < 0 || !MoveMouse(hWnd, pt)) return false;
    SendMouse(hWnd, QEvent::MouseButtonPress, pt, Qt::LeftButton, Qt::LeftButton);
    SendMouse(hWnd, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
    SendMouse(hWnd, QEvent::MouseButtonDblClick, pt, Qt::LeftButton, Qt::LeftButton);
    SendMouse(hWnd, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
    Pump();
    return true;
}

bool UiTestDriver::RightClick(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    return pt.x >= 0 && RightClickAt(hWnd, pt);
}

bool UiTestDriver::RightClickAt(HWND hWnd, POINT pt) {
    if (!MoveMouse(hWnd, pt)) return false;
    SendMouse(hWnd, QEvent::MouseButtonPress, pt, Qt::RightButton, Qt::RightButton);
    SendMouse(hWnd, QEvent::MouseButtonRelease, pt, Qt::RightButton, Qt::NoButton);
    Pump();
    return true;
}

bool UiTestDriver::MoveMouse(HWND hWnd, POINT pt) {
    detail::WindowHost* host = Host(hWnd);
    if (!host) return false;
    // Moving the pointer may itself produce a move event (offscreen does): handle it
    // before the explicit one, so the order stays that of a real pointer.
    QCursor::setPos(host->mapToGlobal(QPoint(pt.x, pt.y)));
    Pump();
    return SendMouse(hWnd, QEvent::MouseMove, pt, Qt::NoButton, Qt::NoButton);
}

bool UiTestDriver::DragBy(HWND hWnd, POINT from, int dx, int dy) {
    if (!MoveMouse(hWnd, from)) return false;
    SendMouse(hWnd, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Pump();
    detail::WindowHost* host = Host(hWnd);
    if (!host) return true;
    const QPoint startGlobal = QCursor::pos();
    const QPoint endGlobal = startGlobal + QPoint(dx, dy);
    const QPointF local = host->mapFromGlobal(QPointF(endGlobal));
    QMouseEvent move(QEvent::MouseMove, local, QPointF(endGlobal), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(host, &move);
    const QPointF after = host->mapFromGlobal(QPointF(endGlobal));
    QMouseEvent release(QEvent::MouseButtonRelease, after, QPointF(endGlobal), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(host, &release);
    Pump();
    return true;
}

bool UiTestDriver::Hover(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    return pt.x >= 0 && HoverAt(hWnd, pt);
}

bool UiTestDriver::HoverAt(HWND hWnd, POINT pt) {
    if (!MoveMouse(hWnd, pt)) return false;
    return PumpUntil([hWnd] {
        detail::WindowHost* host = Host(hWnd);
        return !host || !host->HoverPending();
    });
}

bool UiTestDriver::LeaveWindow(HWND hWnd) {
    detail::WindowHost* host = Host(hWnd);
    if (!host) return false;
    Pump();
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(host, &event);
    Pump();
    return true;
}

bool UiTestDriver::Wheel(HWND hWnd, POINT pt, int delta) {
    detail::WindowHost* host = Host(hWnd);
    if (!host || !MoveMouse(hWnd, pt)) return false;
    const QPointF local(pt.x, pt.y);
    QWheelEvent event(local, host->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(host, &event);
    Pump();
    return true;
}

bool UiTestDriver::TypeText(HWND hWnd, LPCTSTR editName, const std::wstring& text) {
    CControlUI* control = Find(hWnd, editName);
    if (!control || !control->GetInterface(L"Edit")) return false;
    if (!control->IsFocused() && !Click(hWnd, editName)) return false;
    detail::WindowHost* host = Host(hWnd);
    if (!host) return false;
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : host->findChildren<QLineEdit*>()) {
        if (e->isVisible()) editor = e;
    }
    if (!editor) return false;
    QInputMethodEvent event;
    event.setCommitString(QString::fromStdWString(text));
    QApplication::sendEvent(editor, &event);
    Pump();
    return true;
}

bool UiTestDriver::PressKey(HWND hWnd, UINT vk) {
    detail::WindowHost* host = Host(hWnd);
    if (!host) return false;
    QWidget* target = host;
    for (QLineEdit* e : host->findChildren<QLineEdit*>()) {
        if (e->isVisible()) target = e;
    }
    const int key = QtKeyFromVk(vk);
    if (!key) return false;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, KeyText(vk));
    QApplication::sendEvent(target, &press);
    if (!press.isAccepted() && target != host) QApplication::sendEvent(host, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, KeyText(vk));
    if (Host(hWnd)) QApplication::sendEvent(Host(hWnd), &release);
    Pump();
    return true;
}

int UiTestDriver::TimerInterval(HWND hWnd, UINT_PTR id) const {
    CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
    if (!impl) return -1;
    const auto it = impl->timers.find(id);
    return it != impl->timers.end() && it->second->isActive() ? it->second->interval() : -1;
}

std::vector<TrayIconState> UiTestDriver::TrayIcons() const {
    std::vector<TrayIconState> out;
    for (const auto& icon : detail::TrayIcons()) {
        out.push_back(TrayIconState{icon.hWnd, icon.id, icon.callbackMessage, icon.tip, icon.icon});
    }
    return out;
}

bool UiTestDriver::TrayEvent(HWND hWnd, UINT id, UINT mouseMessage) {
    const bool sent = detail::SendTrayEvent(hWnd, id, mouseMessage);
    Pump();
    return sent;
}

void UiTestDriver::SetSystemTrayAvailable(bool available) {
    detail::SetTrayAvailableOverride(available ? 1 : 0);
}

void UiTestDriver::AnswerNextQuestionBoxes(std::vector<int> answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void UiTestDriver::PickNextMenuItems(std::vector<UINT_PTR> ids) {
    menuPicks_.insert(menuPicks_.end(), ids.begin(), ids.end());
}

bool UiTestDriver::SaveWindowPng(HWND hWnd, const std::string& path) {
    const QImage image = detail::GrabWindow(hWnd);
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

DWORD UiTestDriver::PixelAt(HWND hWnd, POINT pt) {
    const QImage image = detail::GrabWindow(hWnd);
    if (!image.rect().contains(pt.x, pt.y)) return 0;
    return image.pixel(pt.x, pt.y);
}

}  // namespace UiLib::testing

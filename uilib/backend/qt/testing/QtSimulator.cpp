#include "uilib/backend/qt/testing/QtSimulator.h"

#include <QApplication>
#include <QCursor>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include "uilib/backend/qt/QtBackend.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib::qt {

namespace {

QWidget* WidgetOf(HWND hWnd) {
    return QtBackend::WidgetOf(detail::NativeOf(hWnd));
}

// The window's line edit that is shown, if any.
QLineEdit* ShownEdit(QWidget* widget) {
    QLineEdit* shown = nullptr;
    for (QLineEdit* e : widget->findChildren<QLineEdit*>()) {
        if (e->isVisible()) shown = e;
    }
    return shown;
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
        case VK_PRIOR:
            return Qt::Key_PageUp;
        case VK_NEXT:
            return Qt::Key_PageDown;
        case VK_HOME:
            return Qt::Key_Home;
        case VK_END:
            return Qt::Key_End;
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

void SendMouse(QWidget* widget, QEvent::Type type, POINT pt, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    const QPointF local(pt.x, pt.y);
    QMouseEvent event(type, local, widget->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

bool QtSimulator::MoveTo(HWND hWnd, POINT client) {
    QWidget* widget = WidgetOf(hWnd);
    if (!widget) return false;
    // Moving the pointer may itself produce a move event (offscreen does): handle it
    // before the explicit one, so the order stays that of a real pointer.
    QCursor::setPos(widget->mapToGlobal(QPoint(client.x, client.y)));
    if (backend::Backend* b = backend::CurrentBackend()) {
        for (int i = 0; i < 3; ++i) b->ProcessPending();
    }
    if (!(widget = WidgetOf(hWnd))) return false;
    SendMouse(widget, QEvent::MouseMove, client, Qt::NoButton, Qt::NoButton);
    return true;
}

bool QtSimulator::Button(HWND hWnd, POINT client, backend::MouseAction action,
                         backend::MouseButton button) {
    QWidget* widget = WidgetOf(hWnd);
    if (!widget) return false;
    const Qt::MouseButton qtButton =
        button == backend::MouseButton::Right ? Qt::RightButton : Qt::LeftButton;
    switch (action) {
        case backend::MouseAction::Press:
            SendMouse(widget, QEvent::MouseButtonPress, client, qtButton, qtButton);
            break;
        case backend::MouseAction::DoubleClick:
            SendMouse(widget, QEvent::MouseButtonDblClick, client, qtButton, qtButton);
            break;
        case backend::MouseAction::Release:
            SendMouse(widget, QEvent::MouseButtonRelease, client, qtButton, Qt::NoButton);
            break;
        case backend::MouseAction::Move:
            SendMouse(widget, QEvent::MouseMove, client, Qt::NoButton, Qt::NoButton);
            break;
    }
    return true;
}

bool QtSimulator::DragBy(HWND hWnd, int dx, int dy) {
    QWidget* widget = WidgetOf(hWnd);
    if (!widget) return false;
    const QPoint end = QCursor::pos() + QPoint(dx, dy);
    QMouseEvent move(QEvent::MouseMove, widget->mapFromGlobal(QPointF(end)), QPointF(end),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    if (!(widget = WidgetOf(hWnd))) return true;
    // The move may have moved the window: the release is where the pointer is now.
    QMouseEvent release(QEvent::MouseButtonRelease, widget->mapFromGlobal(QPointF(end)),
                        QPointF(end), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    return true;
}

bool QtSimulator::Wheel(HWND hWnd, POINT client, int delta) {
    if (!MoveTo(hWnd, client)) return false;
    QWidget* widget = WidgetOf(hWnd);
    if (!widget) return false;
    const QPointF local(client.x, client.y);
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    return true;
}

bool QtSimulator::Leave(HWND hWnd) {
    QWidget* widget = WidgetOf(hWnd);
    if (!widget) return false;
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
    return true;
}

bool QtSimulator::Key(HWND hWnd, UINT vk, WPARAM modifiers) {
    QWidget* widget = WidgetOf(hWnd);
    int key = QtKeyFromVk(vk);
    if (!widget || !key) return false;
    Qt::KeyboardModifiers mods;
    if (modifiers & MK_SHIFT) mods |= Qt::ShiftModifier;
    if (modifiers & MK_CONTROL) mods |= Qt::ControlModifier;
    // Shift+Tab arrives as Backtab, as the desktop's keyboard delivers it.
    if (key == Qt::Key_Tab && (mods & Qt::ShiftModifier)) key = Qt::Key_Backtab;
    QLineEdit* edit = ShownEdit(widget);
    QWidget* target = edit ? static_cast<QWidget*>(edit) : widget;
    QKeyEvent press(QEvent::KeyPress, key, mods, KeyText(vk));
    // Unhandled keys go on from the line edit to the window, as with real input.
    QApplication::sendEvent(target, &press);
    if (!press.isAccepted() && target != widget && (widget = WidgetOf(hWnd))) {
        QApplication::sendEvent(widget, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, key, mods, KeyText(vk));
    if ((widget = WidgetOf(hWnd))) QApplication::sendEvent(widget, &release);
    return true;
}

bool QtSimulator::CommitText(HWND hWnd, const std::wstring& text) {
    QWidget* widget = WidgetOf(hWnd);
    QLineEdit* edit = widget ? ShownEdit(widget) : nullptr;
    if (!edit) return false;
    QInputMethodEvent event;
    event.setCommitString(QString::fromStdWString(text));
    QApplication::sendEvent(edit, &event);
    return true;
}

}  // namespace UiLib::qt

#include "uilib/src/WindowHost.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QWheelEvent>
#include <QWindow>

#include "uilib/core/PaintManager.h"
#include "uilib/src/Dispatch.h"
#include "uilib/src/RenderContext.h"

namespace UiLib::detail {

namespace {
constexpr int kHoverMs = 400;  // the Win32 default hover time

LPARAM PointParam(const QPoint& p) {
    return MAKELPARAM(p.x(), p.y());
}
}  // namespace

WindowHost::WindowHost(HWND hWnd, Qt::WindowFlags flags) : QWidget(nullptr, flags), m_hWnd(hWnd) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(kHoverMs);
    QObject::connect(&m_hoverTimer, &QTimer::timeout, this, [this] {
        if (rect().contains(m_lastMouse)) Send(WM_MOUSEHOVER, 0, PointParam(m_lastMouse));
    });
}

void WindowHost::Detach() {
    m_hWnd = nullptr;
    m_manager = nullptr;
    m_hoverTimer.stop();
}

LRESULT WindowHost::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    return Deliver(m_hWnd, msg, wParam, lParam);
}

bool WindowHost::SendToCapture(UINT msg, WPARAM keys, const QPoint& global) {
    const HWND capture = ::UiLib::GetCapture();
    if (!m_hWnd || !capture || capture == m_hWnd) return false;
    WindowHost* target = HostOf(capture);
    if (!target || !target->isVisible()) return false;
    const QPoint local = global - target->pos();
    Deliver(capture, msg, keys, PointParam(local));
    return true;
}

void WindowHost::GrabPointer() {
    m_grabPending = false;
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !isVisible()) return;
    if (windowHandle() && !windowHandle()->isExposed()) {
        m_grabPending = true;  // taken up by the first paint
        return;
    }
    grabMouse();
}

void WindowHost::BeginDrag() {
    m_hoverTimer.stop();
    if (windowHandle() && QGuiApplication::platformName() != QLatin1String("offscreen") &&
        windowHandle()->startSystemMove()) {
        return;
    }
    m_dragging = true;
    m_dragStartGlobal = QCursor::pos();
    m_dragStartPos = pos();
}

void WindowHost::BeginResize(Qt::Edges edges) {
    if (windowHandle()) windowHandle()->startSystemResize(edges);
}

void WindowHost::SetRoundCorners(int w, int h) {
    m_roundW = w;
    m_roundH = h;
    ApplyShape();
}

void WindowHost::ApplyShape() {
    if (m_roundW <= 0 || m_roundH <= 0 || width() <= 0 || height() <= 0) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), m_roundW / 2.0, m_roundH / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void WindowHost::paintEvent(QPaintEvent* event) {
    if (m_grabPending) {
        m_grabPending = false;
        if (m_hWnd && ::UiLib::GetCapture() == m_hWnd) grabMouse();
    }
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(255, 255, 255));
    if (!m_manager) return;
    UiDC dc(&painter);
    const QRect r = event->rect();
    m_manager->RenderTo(&dc, RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

void WindowHost::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    m_lastMouse = p;
    const WPARAM keys = MouseKeyState(event->buttons(), event->modifiers());
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (SendToCapture(WM_LBUTTONDOWN, keys, global)) return;
        Send(WM_LBUTTONDOWN, keys, PointParam(p));
    } else if (event->button() == Qt::RightButton) {
        if (SendToCapture(WM_RBUTTONDOWN, keys, global)) return;
        Send(WM_RBUTTONDOWN, keys, PointParam(p));
    }
}

void WindowHost::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const WPARAM keys = MouseKeyState(event->buttons(), event->modifiers());
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        if (SendToCapture(WM_LBUTTONUP, keys, global)) return;
        Send(WM_LBUTTONUP, keys, PointParam(p));
    } else if (event->button() == Qt::RightButton) {
        if (SendToCapture(WM_RBUTTONUP, keys, global)) return;
        Send(WM_RBUTTONUP, keys, PointParam(p));
    }
}

void WindowHost::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const WPARAM keys = MouseKeyState(event->buttons(), event->modifiers());
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (SendToCapture(WM_LBUTTONDBLCLK, keys, global)) return;
        Send(WM_LBUTTONDBLCLK, keys, PointParam(p));
    } else if (event->button() == Qt::RightButton) {
        if (SendToCapture(WM_RBUTTONDBLCLK, keys, global)) return;
        Send(WM_RBUTTONDBLCLK, keys, PointParam(p));
    }
}

void WindowHost::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        if (!(event->buttons() & Qt::LeftButton)) {
            m_dragging = false;
        } else {
            move(m_dragStartPos + (event->globalPosition().toPoint() - m_dragStartGlobal));
            return;
        }
    }
    const QPoint p = event->position().toPoint();
    const WPARAM keys = MouseKeyState(event->buttons(), event->modifiers());
    if (SendToCapture(WM_MOUSEMOVE, keys, event->globalPosition().toPoint())) return;
    m_lastMouse = p;
    m_hoverTimer.start();
    Send(WM_MOUSEMOVE, keys, PointParam(p));
}

void WindowHost::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    const QPoint g = event->globalPosition().toPoint();
    const WPARAM keys = MouseKeyState(event->buttons(), event->modifiers());
    m_lastMouse = event->position().toPoint();
    Send(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(keys), delta), MAKELPARAM(g.x(), g.y()));
}

void WindowHost::leaveEvent(QEvent*) {
    m_hoverTimer.stop();
    Send(WM_MOUSELEAVE, 0, 0);
}

void WindowHost::keyPressEvent(QKeyEvent* event) {
    const UINT vk = VirtualKeyFromQt(event->key());
    if (vk) Send(WM_KEYDOWN, vk, 0);
    for (QChar c : event->text()) {
        if (c.isPrint() && m_hWnd) Send(WM_CHAR, c.unicode(), 0);
    }
}

void WindowHost::keyReleaseEvent(QKeyEvent* event) {
    const UINT vk = VirtualKeyFromQt(event->key());
    if (vk) Send(WM_KEYUP, vk, 0);
}

void WindowHost::resizeEvent(QResizeEvent*) {
    ApplyShape();
    Send(WM_SIZE, 0, MAKELPARAM(width(), height()));
}

void WindowHost::moveEvent(QMoveEvent*) {
    Send(WM_MOVE, 0, MAKELPARAM(x(), y()));
}

void WindowHost::closeEvent(QCloseEvent* event) {
    // The window procedure decides: WM_CLOSE's default handling destroys the window.
    event->ignore();
    if (m_hWnd) Send(WM_CLOSE, 0, 0);
}

void WindowHost::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && m_hWnd) {
        const bool active = isActiveWindow();
        Send(WM_NCACTIVATE, active ? TRUE : FALSE, 0);
        Send(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
    }
    QWidget::changeEvent(event);
}

QImage GrabWindow(HWND hWnd) {
    WindowHost* host = HostOf(hWnd);
    if (!host) return QImage();
    if (CPaintManagerUI* manager = host->Manager()) manager->UpdateLayout();
    QImage image = host->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion shape = host->mask();
    if (!shape.isEmpty()) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (!shape.contains(QPoint(x, y))) line[x] = 0;
            }
        }
    }
    return image;
}

UINT VirtualKeyFromQt(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Tab:
            return VK_TAB;
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
            return VK_MENU;
        default:
            return 0;
    }
}

WPARAM MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WPARAM k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (modifiers & Qt::ShiftModifier) k |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

}  // namespace UiLib::detail

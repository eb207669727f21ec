#include "uilib/backend/qt/QtWindow.h"

#include <cmath>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegion>
#include <QWheelEvent>
#include <QWindow>

#include "uilib/backend/qt/QtCanvas.h"
#include "uilib/backend/qt/QtEdit.h"
#include "uilib/backend/qt/QtImage.h"
#include "uilib/backend/qt/QtX11.h"

namespace UiLib::qt {

namespace {

POINT ToPoint(const QPointF& p) {
    const QPoint q = p.toPoint();
    return POINT{q.x(), q.y()};
}

bool Offscreen() {
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

Qt::WindowFlags FlagsOf(bool topmost, bool toolWindow) {
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    flags |= toolWindow ? Qt::Tool : Qt::Window;
    if (topmost) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

}  // namespace

// ---- WindowWidget ----

WindowWidget::WindowWidget(backend::WindowEvents* events)
    : QWidget(nullptr, FlagsOf(false, false)), events_(events) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void WindowWidget::GrabPointer() {
    grabPending_ = false;
    if (Offscreen() || !isVisible()) return;
    if (windowHandle() && !windowHandle()->isExposed()) {
        grabPending_ = true;  // taken up by the first paint
        return;
    }
    grabMouse();
}

AccessibleNodes& WindowWidget::accessibleNodes() {
    if (!nodes_) nodes_ = std::make_unique<AccessibleNodes>(this);
    return *nodes_;
}

void WindowWidget::ReleasePointer() {
    grabPending_ = false;
    if (QWidget::mouseGrabber() == this) releaseMouse();
}

void WindowWidget::SetRoundCorners(int w, int h) {
    roundW_ = w;
    roundH_ = h;
    ApplyShape();
}

void WindowWidget::SetBackdrop(QRgb color) {
    backdrop_ = color;
    SetX11Backdrop(*this, backdrop_);
}

void WindowWidget::showEvent(QShowEvent* event) {
    // Sent before the window is mapped; the native window may be new (a change of
    // style makes a new one), so it gets its backdrop here.
    SetX11Backdrop(*this, backdrop_);
    QWidget::showEvent(event);
}

void WindowWidget::ApplyShape() {
    if (roundW_ <= 0 || roundH_ <= 0 || width() <= 0 || height() <= 0) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), roundW_ / 2.0, roundH_ / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void WindowWidget::paintEvent(QPaintEvent* event) {
    if (grabPending_) {
        grabPending_ = false;
        grabMouse();
    }
    QPainter painter(this);
    const QRect r = event->rect();
    const RECT dirty{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    if (!events_) {
        painter.fillRect(r, QColor(255, 255, 255));
        return;
    }
    QtCanvas canvas(&painter);
    events_->OnPaint(canvas, dirty);
}

void WindowWidget::Mouse(backend::MouseAction action, QMouseEvent* event) {
    if (!events_) return;
    backend::MouseButton button = backend::MouseButton::None;
    if (action != backend::MouseAction::Move) {
        if (event->button() == Qt::LeftButton) {
            button = backend::MouseButton::Left;
        } else if (event->button() == Qt::RightButton) {
            button = backend::MouseButton::Right;
        } else {
            return;
        }
    }
    events_->OnMouse(action, button, ToPoint(event->position()), ToPoint(event->globalPosition()),
                     MouseKeyState(event->buttons(), event->modifiers()));
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
    Mouse(backend::MouseAction::Press, event);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    Mouse(backend::MouseAction::Release, event);
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    Mouse(backend::MouseAction::DoubleClick, event);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
    Mouse(backend::MouseAction::Move, event);
}

void WindowWidget::wheelEvent(QWheelEvent* event) {
    if (!events_) return;
    events_->OnWheel(event->angleDelta().y(), ToPoint(event->position()),
                     ToPoint(event->globalPosition()),
                     MouseKeyState(event->buttons(), event->modifiers()));
}

void WindowWidget::leaveEvent(QEvent*) {
    if (events_) events_->OnMouseLeave();
}

bool WindowWidget::focusNextPrevChild(bool) {
    // Tab and Shift+Tab move the framework's focus over the controls (keyPressEvent);
    // Qt's own chain would give the keyboard to the window or to a hidden line edit.
    return false;
}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
    const UINT vk = VirtualKeyFromQt(event->key());
    if (vk && events_) events_->OnKey(vk, true, KeyModifiersOf(event->modifiers()));
    for (QChar c : event->text()) {
        // events_ is cleared when a key destroyed the window.
        if (c.isPrint() && events_) events_->OnChar(static_cast<wchar_t>(c.unicode()));
    }
}

void WindowWidget::keyReleaseEvent(QKeyEvent* event) {
    const UINT vk = VirtualKeyFromQt(event->key());
    if (vk && events_) events_->OnKey(vk, false, KeyModifiersOf(event->modifiers()));
}

void WindowWidget::resizeEvent(QResizeEvent*) {
    ApplyShape();
    if (events_) events_->OnResized(SIZE{width(), height()});
}

void WindowWidget::moveEvent(QMoveEvent*) {
    if (events_) events_->OnMoved(POINT{x(), y()});
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (events_) events_->OnCloseRequested();
}

void WindowWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && events_) {
        events_->OnActivation(isActiveWindow());
    }
    QWidget::changeEvent(event);
}

// ---- QtWindow ----

QtWindow::QtWindow(backend::WindowEvents& events, const std::wstring& className)
    : widget_(new WindowWidget(&events)) {  // deleted in the destructor (later)
    widget_->setObjectName(QString::fromStdWString(className));
}

QtWindow::~QtWindow() {
    if (!widget_) return;
    widget_->Detach();
    widget_->hide();
    widget_->deleteLater();
}

void QtWindow::SetStyle(bool topmost, bool toolWindow) {
    const Qt::WindowFlags flags = FlagsOf(topmost, toolWindow);
    if (widget_->windowFlags() == flags) return;
    const bool shown = widget_->isVisible();
    widget_->setWindowFlags(flags);  // hides the widget
    if (shown) widget_->show();
}

void QtWindow::SetOwner(backend::NativeWindow* owner) {
    auto* ownerWindow = static_cast<QtWindow*>(owner);
    if (!ownerWindow || !ownerWindow->widget_) return;
    widget_->winId();
    ownerWindow->widget_->winId();
    if (widget_->windowHandle() && ownerWindow->widget_->windowHandle()) {
        widget_->windowHandle()->setTransientParent(ownerWindow->widget_->windowHandle());
    }
}

void QtWindow::SetTitle(const std::wstring& title) {
    widget_->setWindowTitle(QString::fromStdWString(title));
}

void QtWindow::SetIcon(const backend::Image* icon) {
    widget_->setWindowIcon(icon ? QIcon(QPixmap::fromImage(QImageOf(*icon))) : QIcon());
}

RECT QtWindow::Geometry() const {
    const QRect g = widget_->geometry();
    return RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void QtWindow::Move(POINT topLeft) {
    widget_->move(topLeft.x, topLeft.y);
}

void QtWindow::Resize(SIZE size) {
    widget_->resize(size.cx, size.cy);
}

void QtWindow::SetSizeLimits(SIZE min, SIZE max) {
    widget_->setMinimumSize(std::max<LONG>(1, min.cx), std::max<LONG>(1, min.cy));
    widget_->setMaximumSize(max.cx > 0 ? max.cx : QWIDGETSIZE_MAX,
                            max.cy > 0 ? max.cy : QWIDGETSIZE_MAX);
}

void QtWindow::Show(backend::ShowMode mode) {
    switch (mode) {
        case backend::ShowMode::NoActivate:
        case backend::ShowMode::MinimizedNoActivate:
            widget_->setAttribute(Qt::WA_ShowWithoutActivating, true);
            if (mode == backend::ShowMode::MinimizedNoActivate) {
                widget_->showMinimized();
            } else {
                widget_->show();
            }
            widget_->setAttribute(Qt::WA_ShowWithoutActivating, false);
            break;
        case backend::ShowMode::Minimized:
            widget_->showMinimized();
            break;
        case backend::ShowMode::Maximized:
            widget_->showMaximized();
            break;
        case backend::ShowMode::Normal:
            if (widget_->isMinimized()) {
                widget_->showNormal();
            } else {
                widget_->show();
            }
            break;
    }
}

void QtWindow::Hide() {
    widget_->hide();
}

bool QtWindow::IsShown() const {
    return widget_->isVisible();
}

bool QtWindow::IsMinimized() const {
    return widget_->isMinimized();
}

void QtWindow::BringToFront() {
    widget_->raise();
    widget_->activateWindow();
}

void QtWindow::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}

bool QtWindow::IsEnabled() const {
    return widget_->isEnabled();
}

void QtWindow::SetOpacity(BYTE alpha) {
    widget_->setWindowOpacity(alpha / 255.0);
}

void QtWindow::SetRoundCorners(SIZE corner) {
    widget_->SetRoundCorners(corner.cx, corner.cy);
}

void QtWindow::SetBackdrop(DWORD color) {
    widget_->SetBackdrop(static_cast<QRgb>(color));
}

bool QtWindow::StartSystemMove() {
    return widget_->windowHandle() && !Offscreen() && widget_->windowHandle()->startSystemMove();
}

void QtWindow::StartSystemResize(UINT edges) {
    Qt::Edges qtEdges;
    if (edges & backend::kEdgeLeft) qtEdges |= Qt::LeftEdge;
    if (edges & backend::kEdgeTop) qtEdges |= Qt::TopEdge;
    if (edges & backend::kEdgeRight) qtEdges |= Qt::RightEdge;
    if (edges & backend::kEdgeBottom) qtEdges |= Qt::BottomEdge;
    if (widget_->windowHandle()) widget_->windowHandle()->startSystemResize(qtEdges);
}

void QtWindow::GrabPointer() {
    widget_->GrabPointer();
}

void QtWindow::ReleasePointer() {
    widget_->ReleasePointer();
}

void QtWindow::Invalidate(const RECT* rc) {
    if (!rc) {
        widget_->update();
        return;
    }
    widget_->update(QRect(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top));
}

void QtWindow::SetToolTip(const std::wstring& text) {
    widget_->setToolTip(QString::fromStdWString(text));
}

backend::Bitmap QtWindow::Snapshot(double pixelRatio) {
    const double ratio = pixelRatio > 0 ? pixelRatio : 1.0;
    const QSize pixels(static_cast<int>(std::lround(widget_->width() * ratio)),
                       static_cast<int>(std::lround(widget_->height() * ratio)));
    backend::Bitmap bitmap;
    if (pixels.isEmpty()) return bitmap;
    // Painted afresh at the ratio, as a screen of that scale gets it: its pictures and
    // text at device resolution, not the picture of another scale resized.
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget_->render(&image, QPoint(), QRegion(),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    image = image.convertToFormat(QImage::Format_ARGB32);
    bitmap.width = image.width();
    bitmap.height = image.height();
    bitmap.pixels.resize(static_cast<size_t>(bitmap.width) * bitmap.height);
    const QRegion shape = widget_->mask();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QPoint unit(static_cast<int>(x / ratio), static_cast<int>(y / ratio));
            const bool inside = shape.isEmpty() || shape.contains(unit);
            bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x] = inside ? line[x] : 0;
        }
    }
    return bitmap;
}

std::unique_ptr<backend::NativeEdit> QtWindow::CreateEdit(backend::EditEvents& events) {
    return std::make_unique<QtEdit>(widget_, events);
}

void QtWindow::AnnounceFocus(AccessId id) {
    qt::AnnounceFocus(widget_, id);
}

// ---- Keys ----

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
        case Qt::Key_Backtab:
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

WPARAM KeyModifiersOf(Qt::KeyboardModifiers modifiers) {
    WPARAM k = 0;
    if (modifiers & Qt::ShiftModifier) k |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

WPARAM MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WPARAM k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (modifiers & Qt::ShiftModifier) k |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

}  // namespace UiLib::qt

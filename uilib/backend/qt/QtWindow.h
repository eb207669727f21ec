#pragma once

// QtWindow: a native window of the Qt backend, a frameless QWidget that reports its
// input, size and activation to the framework and paints through it.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "uilib/backend/qt/QtAccessible.h"

#include "uilib/src/Backend.h"

namespace UiLib::qt {

// The widget behind a QtWindow.
class WindowWidget : public QWidget {
public:
    explicit WindowWidget(backend::WindowEvents* events);

    // The window is going away: no more events.
    void Detach() { events_ = nullptr; }
    // The framework's side of the window; null once it is going away.
    backend::WindowEvents* events() const { return events_; }
    // The accessibility interfaces of the window's controls.
    AccessibleNodes& accessibleNodes();
    // Rounded window shape; 0,0 removes it.
    void SetRoundCorners(int w, int h);
    // The colour the desktop shows where the window has not drawn yet.
    void SetBackdrop(QRgb color);
    // Grabs the pointer now, or once the desktop has shown the window (a grab of a
    // window not on the screen yet fails).
    void GrabPointer();
    void ReleasePointer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Mouse(backend::MouseAction action, QMouseEvent* event);
    void ApplyShape();

    backend::WindowEvents* events_;
    std::unique_ptr<AccessibleNodes> nodes_;
    int roundW_ = 0;
    int roundH_ = 0;
    QRgb backdrop_ = 0xFFFFFFFF;
    bool grabPending_ = false;
};

class QtWindow final : public backend::NativeWindow {
public:
    QtWindow(backend::WindowEvents& events, const std::wstring& className);
    // Hides the widget and deletes it once the event being handled has finished.
    ~QtWindow() override;

    void SetStyle(bool topmost, bool toolWindow) override;
    void SetOwner(backend::NativeWindow* owner) override;
    void SetTitle(const std::wstring& title) override;
    void SetIcon(const backend::Image* icon) override;
    RECT Geometry() const override;
    void Move(POINT topLeft) override;
    void Resize(SIZE size) override;
    void SetSizeLimits(SIZE min, SIZE max) override;
    void Show(backend::ShowMode mode) override;
    void Hide() override;
    bool IsShown() const override;
    bool IsMinimized() const override;
    void BringToFront() override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void SetOpacity(BYTE alpha) override;
    void SetRoundCorners(SIZE corner) override;
    void SetBackdrop(DWORD color) override;
    bool StartSystemMove() override;
    void StartSystemResize(UINT edges) override;
    void GrabPointer() override;
    void ReleasePointer() override;
    void Invalidate(const RECT* rc) override;
    void SetToolTip(const std::wstring& text) override;
    backend::Bitmap Snapshot(double pixelRatio) override;
    std::unique_ptr<backend::NativeEdit> CreateEdit(backend::EditEvents& events) override;
    void AnnounceFocus(AccessId id) override;

    WindowWidget* widget() const { return widget_; }

private:
    QPointer<WindowWidget> widget_;
};

// Win32 virtual-key code of a Qt key (0 when there is none).
UINT VirtualKeyFromQt(int key);
// MK_SHIFT and MK_CONTROL of a key event's modifiers.
WPARAM KeyModifiersOf(Qt::KeyboardModifiers modifiers);
// Mouse key state (MK_*) of a mouse event's buttons and modifiers.
WPARAM MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

}  // namespace UiLib::qt

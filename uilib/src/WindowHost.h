#pragma once

// WindowHost: the Qt widget behind one framework window. It turns Qt's input, size
// and activation events into window messages and paints the window's controls.

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include "uilib/Win32Types.h"

namespace UiLib {
class CPaintManagerUI;
}

namespace UiLib::detail {

class WindowHost : public QWidget {
public:
    WindowHost(HWND hWnd, Qt::WindowFlags flags);

    HWND Handle() const { return m_hWnd; }
    // The window is being destroyed: no more messages.
    void Detach();
    void SetManager(CPaintManagerUI* manager) { m_manager = manager; }
    CPaintManagerUI* Manager() const { return m_manager; }
    // Starts moving the window with the pointer (system move, else by hand).
    void BeginDrag();
    // Starts resizing from the given edges (Qt::Edges).
    void BeginResize(Qt::Edges edges);
    // Rounded window shape; 0,0 removes it.
    void SetRoundCorners(int w, int h);
    // The last pointer position inside the window (client coordinates).
    QPoint LastMousePos() const { return m_lastMouse; }
    // Whether a WM_MOUSEHOVER is waiting for the pointer to rest.
    bool HoverPending() const { return m_hoverTimer.isActive(); }
    // Grabs the pointer for the window's capture now, or once the desktop has shown the
    // window (a grab of a window not on the screen yet fails).
    void GrabPointer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    // Mouse input while another shown window holds the capture (SetCapture) without a
    // pointer grab of the desktop (offscreen, or a grab the desktop refused): it goes to
    // that window in its client coordinates, as Win32 delivers it. True when redirected.
    bool SendToCapture(UINT msg, WPARAM keys, const QPoint& global);
    void ApplyShape();

    HWND m_hWnd;
    CPaintManagerUI* m_manager = nullptr;
    QTimer m_hoverTimer;
    QPoint m_lastMouse;
    bool m_dragging = false;
    QPoint m_dragStartGlobal;
    QPoint m_dragStartPos;
    int m_roundW = 0;
    int m_roundH = 0;
    bool m_grabPending = false;
};

// Win32 virtual-key code of a Qt key (0 when there is none).
UINT VirtualKeyFromQt(int key);
// Mouse key state (MK_*) of a mouse event's buttons and modifiers.
WPARAM MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// The window's picture as it would appear: laid out, painted, and transparent outside
// its shape (round corners).
QImage GrabWindow(HWND hWnd);

// The host of a window handle, or null.
WindowHost* HostOf(HWND hWnd);

}  // namespace UiLib::detail

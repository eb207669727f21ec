#pragma once

// The contract between the framework and its backend: the toolkit that owns native
// windows, the event loop, painting, text and the desktop's services (tray, question
// box, native menu). The framework reaches the backend only through this header and
// knows the backend's objects only by the abstract classes below; a backend includes
// the framework's headers, never the other way round.
//
// One backend is installed per program (InstallBackend): the Qt backend by
// CApplication (uilib/backend/qt/), the test backend by tests (uilib/testing/). The
// thread that installs it is the user-interface thread; every call below happens on
// that thread unless it says otherwise.
//
// What a backend provides:
//   Backend       the event loop (posting, nested loops, timers), native windows,
//                 image decoding, text measurement, screens and the pointer, the
//                 question box, native menus, tray icons, PNG encoding
//   NativeWindow  one frameless top-level window: geometry, showing, shape, opacity,
//                 pointer grab, system move and resize, repaint, tool tips, pictures,
//                 and the native line edit that sits on an edit control
//   UiDC          the surface CRenderEngine draws on: colours, lines, images, text
//   Timer, Image, NativeEdit, TrayIcon
// What the framework provides to it: WindowEvents and EditEvents (input of a window
// and of its line edit), TrayAvailabilityChanged.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "uilib/core/Accessible.h"
#include "uilib/core/Win32Types.h"

namespace UiLib {

struct TFontInfo;

namespace backend {
class Image;
}

// The painting surface behind an HDC: one paint of a window (or a picture of it).
// Coordinates are the window's client coordinates; colours 0xAARRGGBB.
struct UiDC {
    virtual ~UiDC() = default;
    virtual void FillRect(const RECT& rc, DWORD color) = 0;
    // A rectangle with rounded corners (corner ellipse w × h), filled or outlined.
    virtual void FillRoundRect(const RECT& rc, SIZE corner, DWORD color) = 0;
    virtual void StrokeRoundRect(const RECT& rc, int penWidth, SIZE corner, DWORD color) = 0;
    virtual void DrawLine(POINT from, POINT to, int penWidth, DWORD color) = 0;
    // Part `src` of the image scaled into `dst` (smoothly), at opacity alpha/255.
    virtual void DrawImage(const backend::Image& image, const RECT& dst, const RECT& src,
                           BYTE alpha) = 0;
    // Text inside rc with the DT_* style (alignment, DT_SINGLELINE / DT_WORDBREAK,
    // DT_END_ELLIPSIS), clipped to rc.
    virtual void DrawText(const RECT& rc, std::wstring_view text, const TFontInfo& font,
                          DWORD color, UINT style) = 0;
    // One run of text on one line, its baseline starting at `origin`.
    virtual void DrawTextRun(POINT origin, std::wstring_view text, const TFontInfo& font,
                             DWORD color) = 0;
    // Limits drawing to rc (within the current limit) until the matching PopClip.
    virtual void PushClip(const RECT& rc) = 0;
    virtual void PopClip() = 0;
    // Device pixels per unit of the coordinates: 1 on a plain screen, 1.5 or 2 on a
    // scaled one. Pictures are chosen by it (a "Name@2x.png" above 1).
    virtual double PixelRatio() const { return 1.0; }
};

namespace backend {

// A decoded picture.
class Image {
public:
    virtual ~Image() = default;
    virtual SIZE Size() const = 0;
};

// A picture as pixels 0xAARRGGBB, row after row (a window's snapshot).
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    bool Empty() const { return width <= 0 || height <= 0; }
    // 0 outside the picture.
    DWORD At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height
                   ? 0
                   : pixels[static_cast<std::size_t>(y) * width + x];
    }
};

// A repeating timer. Destroying it stops it, also from inside its own callback.
class Timer {
public:
    virtual ~Timer() = default;
    // (Re)starts it: the callback runs every `ms` milliseconds from now on.
    virtual void Start(UINT ms) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual UINT Interval() const = 0;
};

enum class MouseAction { Press, Release, DoubleClick, Move };
enum class MouseButton { None, Left, Right };

// Edges of a window for StartSystemResize.
constexpr UINT kEdgeLeft = 1;
constexpr UINT kEdgeTop = 2;
constexpr UINT kEdgeRight = 4;
constexpr UINT kEdgeBottom = 8;

// What a window's controls tell assistive technology, asked by the backend's
// accessibility bridge; implemented by the framework. Controls are known by their
// AccessId: one that is gone describes nothing. Only controls with something to say
// are shown; plain layouts are looked through, so their children count as children of
// the nearest shown ancestor (or of the window: parent 0).
class AccessibleTree {
public:
    // The shown controls directly below `parent` (0: the window), in layout order.
    virtual std::vector<AccessId> Children(AccessId parent) = 0;
    // The nearest shown ancestor, 0 for the window; 0 also for a control that is gone.
    virtual AccessId Parent(AccessId id) = 0;
    // False when the control is gone.
    virtual bool Describe(AccessId id, AccessInfo& info) = 0;
    // The control with the keyboard focus, 0 for none.
    virtual AccessId Focus() = 0;
    // The deepest shown control at a client point, 0 for none.
    virtual AccessId At(POINT client) = 0;
    // Presses the control (a button's click, an option's choice); false when it cannot.
    virtual bool Press(AccessId id) = 0;
    virtual bool SetFocus(AccessId id) = 0;

protected:
    ~AccessibleTree() = default;
};

// What happens to one native window, reported by the backend; implemented by the
// framework. Points are in client coordinates, `screen` is the same point on the
// screen, `keys` the MK_* state.
class WindowEvents {
public:
    virtual void OnMouse(MouseAction action, MouseButton button, POINT client, POINT screen,
                         WPARAM keys) = 0;
    // delta in Win32 units (120 per notch, positive away from the user).
    virtual void OnWheel(int delta, POINT client, POINT screen, WPARAM keys) = 0;
    virtual void OnMouseLeave() = 0;
    // A key with a Win32 virtual-key code (keys without one are not reported), with the
    // modifiers held (MK_SHIFT, MK_CONTROL).
    virtual void OnKey(UINT vk, bool down, WPARAM modifiers) = 0;
    // A printable character typed into the window.
    virtual void OnChar(wchar_t ch) = 0;
    virtual void OnResized(SIZE client) = 0;
    virtual void OnMoved(POINT topLeft) = 0;
    // The desktop asks the window to close (its close button, Alt+F4).
    virtual void OnCloseRequested() = 0;
    virtual void OnActivation(bool active) = 0;
    // Paint the dirty part of the window on dc.
    virtual void OnPaint(UiDC& dc, const RECT& dirty) = 0;
    // The window's controls as assistive technology sees them.
    virtual AccessibleTree& Accessibility() = 0;

protected:
    ~WindowEvents() = default;
};

// What happens in a native line edit; implemented by the framework.
class EditEvents {
public:
    // The person changed the text (not reported for SetText).
    virtual void OnTextChanged(const std::wstring& text) = 0;
    virtual void OnReturn() = 0;

protected:
    ~EditEvents() = default;
};

struct EditLook {
    UINT maxLength = 255;
    bool readOnly = false;
    bool password = false;
    UINT align = 0;  // DT_LEFT, DT_CENTER or DT_RIGHT
    const TFontInfo* font = nullptr;
    DWORD textColor = 0xFF000000;
    DWORD backColor = 0xFFFFFFFF;
};

// The native line edit that sits on an edit control while it has the focus, so that
// input methods work. Created hidden.
class NativeEdit {
public:
    virtual ~NativeEdit() = default;
    virtual void SetText(const std::wstring& text) = 0;
    virtual std::wstring Text() const = 0;
    virtual void SetLook(const EditLook& look) = 0;
    // Its place in the window's client coordinates.
    virtual void SetGeometry(const RECT& rc) = 0;
    // Shows it with the keyboard focus and the caret after the text.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsShown() const = 0;
};

enum class ShowMode { Normal, NoActivate, Minimized, MinimizedNoActivate, Maximized };

// One frameless top-level window, created hidden. Destroying the object hides the
// window at once and lets it go.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    // Kept above other windows; kept off the task bar.
    virtual void SetStyle(bool topmost, bool toolWindow) = 0;
    // Stays above its owner (a transient window of it).
    virtual void SetOwner(NativeWindow* owner) = 0;
    virtual void SetTitle(const std::wstring& title) = 0;
    // Null: no icon of its own.
    virtual void SetIcon(const Image* icon) = 0;
    // The window on the screen (client area = window: there is no frame).
    virtual RECT Geometry() const = 0;
    virtual void Move(POINT topLeft) = 0;
    virtual void Resize(SIZE size) = 0;
    // Sizes the person (and Resize) can give it; a max of 0 means no limit.
    virtual void SetSizeLimits(SIZE min, SIZE max) = 0;
    // Normal restores a minimised window; none of them raises it (BringToFront).
    virtual void Show(ShowMode mode) = 0;
    virtual void Hide() = 0;
    virtual bool IsShown() const = 0;
    virtual bool IsMinimized() const = 0;
    // Raises and activates a shown window.
    virtual void BringToFront() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetOpacity(BYTE alpha) = 0;
    // The window's shape: rounded corners with a corner ellipse; 0,0 for a rectangle.
    virtual void SetRoundCorners(SIZE corner) = 0;
    // The opaque colour (0xAARRGGBB, alpha ignored) the desktop shows where the window
    // has not drawn yet: on its first frame, or when it is uncovered while the program
    // is busy. Without it an X server without a compositor shows black there.
    virtual void SetBackdrop(DWORD color) = 0;
    // Lets the desktop move the window with the pointer; false when it cannot (the
    // framework then moves it by hand).
    virtual bool StartSystemMove() = 0;
    virtual void StartSystemResize(UINT edges) = 0;
    // Takes all pointer input of the desktop (where the desktop allows), or lets go.
    virtual void GrabPointer() = 0;
    virtual void ReleasePointer() = 0;
    // Repaints rc (null: everything) soon.
    virtual void Invalidate(const RECT* rc) = 0;
    virtual void SetToolTip(const std::wstring& text) = 0;
    // The window's picture as it looks now, transparent outside its shape, painted at
    // pixelRatio picture pixels per unit (2: twice the window's size, as a screen
    // scaled by 2 shows it).
    virtual Bitmap Snapshot(double pixelRatio) = 0;
    virtual std::unique_ptr<NativeEdit> CreateEdit(EditEvents& events) = 0;
    // Tells assistive technology that the control `id` (AccessibleTree) has the
    // keyboard focus now.
    virtual void AnnounceFocus(AccessId id) = 0;
};

// How the desktop reports a click on a tray icon.
enum class TrayClick { Click, DoubleClick, ContextClick };

// One icon in the desktop's tray, created hidden.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void SetToolTip(const std::wstring& text) = 0;
    virtual void SetIcon(const Image* icon) = 0;
    virtual void Show() = 0;
    virtual bool IsShown() const = 0;
};

struct Screen {
    RECT geometry;
    RECT workArea;  // less the desktop's panels
};

struct MenuItem {
    UINT_PTR id = 0;
    std::wstring text;
    UINT flags = 0;  // MF_*
};

class Backend {
public:
    virtual ~Backend() = default;

    // ---- Event loop ----
    // Queues a task for the user-interface thread (called from any thread).
    virtual void Post(std::function<void()> task) = 0;
    // Handles what is pending now (posted tasks, due timers, repaints) without waiting.
    virtual void ProcessPending() = 0;
    // Handles events until done() holds; done is checked again after WakeLoops.
    // Loops nest: each call runs until its own condition holds.
    virtual void RunLoop(const std::function<bool()>& done) = 0;
    // Makes every running loop check its condition.
    virtual void WakeLoops() = 0;
    virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) = 0;

    // ---- Windows and pictures ----
    virtual std::unique_ptr<NativeWindow> CreateNativeWindow(WindowEvents& events,
                                                             const std::wstring& className) = 0;
    // Null when the bytes are not a picture the backend can read.
    virtual std::shared_ptr<const Image> DecodeImage(const void* data, std::size_t size) = 0;
    // The PNG file of a picture; empty when it cannot be made.
    virtual std::string EncodePng(const Bitmap& bitmap) = 0;

    // ---- Text ----
    struct FontMetrics {
        int height = 0;
        int ascent = 0;
        int descent = 0;
    };
    // A family that is not installed falls back to the system's CJK font.
    virtual FontMetrics MetricsOf(const TFontInfo& font) = 0;
    virtual int TextWidth(const TFontInfo& font, std::wstring_view text) = 0;
    // The size text takes with the DT_* style: on one line, or wrapped within `width`.
    virtual SIZE MeasureText(const TFontInfo& font, std::wstring_view text, UINT style,
                             int width) = 0;

    // ---- Screens and pointer ----
    // Every screen, the primary one first.
    virtual std::vector<Screen> Screens() = 0;
    virtual POINT CursorPos() = 0;
    virtual void SetCursorPos(POINT pt) = 0;

    // ---- The desktop's services ----
    // A modal question box (MB_* type); returns IDYES, IDNO, IDOK or IDCANCEL.
    virtual int AskQuestion(NativeWindow* owner, const std::wstring& text,
                            const std::wstring& caption, UINT type) = 0;
    // A native popup menu at a screen point; returns the chosen id, 0 when dismissed.
    virtual UINT_PTR ChooseFromMenu(NativeWindow* owner, const std::vector<MenuItem>& items,
                                    POINT at) = 0;
    virtual std::unique_ptr<TrayIcon> CreateTrayIcon(std::function<void(TrayClick)> onClick) = 0;
    // Whether the desktop has a tray now. A backend that learns of a change calls
    // TrayAvailabilityChanged, once per change.
    virtual bool IsTrayAvailable() = 0;
};

// The installed backend; null while there is none.
Backend* CurrentBackend();
// Installs a backend (null removes it) and returns the previous one. The calling thread
// becomes the user-interface thread. The backend must outlive its installation.
Backend* InstallBackend(Backend* backend);

// Called by the backend when what IsTrayAvailable answers has changed (the desktop's
// tray came or went): every window hears of it (UIMSG_TRAYCHANGED).
void TrayAvailabilityChanged(bool available);

}  // namespace backend
}  // namespace UiLib

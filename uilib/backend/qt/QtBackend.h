#pragma once

// The Qt 6 backend of the window framework (see uilib/src/Backend.h for the contract).
// CApplication makes the QApplication and installs this backend; nothing else of the
// program sees Qt.
//
// Provides:
//   [x] event loop: posting from any thread (queued invocations), nested loops
//       (QEventLoop), timers (QTimer)
//   [x] native windows: one frameless QWidget per window; move, resize and size limits,
//       show/minimise/maximise, stay-on-top and tool windows, transient owners,
//       opacity, round-cornered shape (mask), the backdrop colour (on X the native
//       window's background pixel, so no black before the first frame without a
//       compositor), the desktop's system move and resize, pointer grab (on a real
//       display, once the window is exposed), tool tips, window icons, snapshots
//       (QWidget::render at any pixel ratio, transparent outside the shape)
//   [x] input: mouse, wheel, keys (Qt keys as Win32 virtual keys, with Shift and
//       Control; Tab and Backtab go to the framework, not along Qt's focus chain),
//       typed characters, leave, close requests, activation
//   [x] accessibility: the controls as QAccessibleInterfaces (QtAccessible), focus
//       changes announced; Qt speaks AT-SPI
//   [x] painting: QPainter on the window or a picture (colours, lines, rounded
//       rectangles, images scaled smoothly, text with alignment, wrapping, ellipsis),
//       at the device pixel ratio of what is painted on (scaled screens)
//   [x] text: fonts in pixels, families that are not installed replaced by
//       "WenQuanYi Zen Hei"; metrics and measuring (QFontMetrics)
//   [x] images: PNG and JPEG (QImage); PNG encoding
//   [x] native line edit (QLineEdit) for edit controls, so input methods work
//   [x] screens and the pointer (QScreen, QCursor)
//   [x] question box (QMessageBox), native popup menu (QMenu)
//   [x] tray icons (QSystemTrayIcon); the tray's availability asked once, then kept
//       current by the session bus (StatusNotifierWatcher) and a check every
//       kTrayRecheckMs
// Missing: multiple top-level screens are reported but windows are not moved between
// them by the framework; no clipboard or drag and drop.

#include <memory>

#include "uilib/src/Backend.h"

class QApplication;
class QObject;
class QWidget;

namespace UiLib::qt {

class TrayWatcher;

class QtBackend final : public backend::Backend {
public:
    // Uses the QApplication of the process (which must exist).
    QtBackend();
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    void Post(std::function<void()> task) override;
    void ProcessPending() override;
    void RunLoop(const std::function<bool()>& done) override;
    void WakeLoops() override;
    std::unique_ptr<backend::Timer> CreateTimer(std::function<void()> onTimeout) override;

    std::unique_ptr<backend::NativeWindow> CreateNativeWindow(
        backend::WindowEvents& events, const std::wstring& className) override;
    std::shared_ptr<const backend::Image> DecodeImage(const void* data, std::size_t size) override;
    std::string EncodePng(const backend::Bitmap& bitmap) override;

    FontMetrics MetricsOf(const TFontInfo& font) override;
    int TextWidth(const TFontInfo& font, std::wstring_view text) override;
    SIZE MeasureText(const TFontInfo& font, std::wstring_view text, UINT style, int width) override;

    std::vector<backend::Screen> Screens() override;
    POINT CursorPos() override;
    void SetCursorPos(POINT pt) override;

    int AskQuestion(backend::NativeWindow* owner, const std::wstring& text,
                    const std::wstring& caption, UINT type) override;
    UINT_PTR ChooseFromMenu(backend::NativeWindow* owner,
                            const std::vector<backend::MenuItem>& items, POINT at) override;
    std::unique_ptr<backend::TrayIcon> CreateTrayIcon(
        std::function<void(backend::TrayClick)> onClick) override;
    bool IsTrayAvailable() override;

    // The widget behind a native window of this backend (for the Qt test driver).
    static QWidget* WidgetOf(backend::NativeWindow* window);

private:
    struct Loops;
    std::unique_ptr<QObject> poster_;  // lives on the user-interface thread
    std::unique_ptr<Loops> loops_;
    std::unique_ptr<TrayWatcher> tray_;
};

}  // namespace UiLib::qt

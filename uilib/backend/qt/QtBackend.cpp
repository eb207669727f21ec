#include "uilib/backend/qt/QtBackend.h"

#include "uilib/backend/qt/QtAccessible.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "uilib/backend/qt/QtCanvas.h"
#include "uilib/backend/qt/QtDialogs.h"
#include "uilib/backend/qt/QtFonts.h"
#include "uilib/backend/qt/QtImage.h"
#include "uilib/backend/qt/QtTray.h"
#include "uilib/backend/qt/QtWindow.h"
#include "uilib/core/Defines.h"

namespace UiLib::qt {

namespace {

class QtTimer final : public backend::Timer {
public:
    explicit QtTimer(std::function<void()> onTimeout) : timer_(std::make_unique<QTimer>()) {
        QObject::connect(timer_.get(), &QTimer::timeout, std::move(onTimeout));
    }
    ~QtTimer() override {
        timer_->stop();
        // The timer may be the one whose timeout is running: it goes once that is over.
        timer_.release()->deleteLater();
    }
    void Start(UINT ms) override { timer_->start(static_cast<int>(ms)); }
    void Stop() override { timer_->stop(); }
    bool IsActive() const override { return timer_->isActive(); }
    UINT Interval() const override { return static_cast<UINT>(timer_->interval()); }

private:
    std::unique_ptr<QTimer> timer_;
};

RECT ToRect(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QString ToQString(std::wstring_view text) {
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

struct QtBackend::Loops {
    std::vector<QEventLoop*> running;
};

QtBackend::QtBackend()
    : poster_(std::make_unique<QObject>()),
      loops_(std::make_unique<Loops>()),
      tray_(std::make_unique<TrayWatcher>()) {
    InstallAccessibleFactory();
}

QtBackend::~QtBackend() = default;

void QtBackend::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(poster_.get(), std::move(task), Qt::QueuedConnection);
}

void QtBackend::ProcessPending() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtBackend::RunLoop(const std::function<bool()>& done) {
    QEventLoop loop;
    loops_->running.push_back(&loop);
    while (!done()) loop.exec();
    std::erase(loops_->running, &loop);
}

void QtBackend::WakeLoops() {
    for (QEventLoop* loop : loops_->running) loop->exit(0);
}

std::unique_ptr<backend::Timer> QtBackend::CreateTimer(std::function<void()> onTimeout) {
    return std::make_unique<QtTimer>(std::move(onTimeout));
}

std::unique_ptr<backend::NativeWindow> QtBackend::CreateNativeWindow(
    backend::WindowEvents& events, const std::wstring& className) {
    return std::make_unique<QtWindow>(events, className);
}

std::shared_ptr<const backend::Image> QtBackend::DecodeImage(const void* data, std::size_t size) {
    QImage image;
    if (!data || !image.loadFromData(static_cast<const uchar*>(data), static_cast<int>(size))) {
        return nullptr;
    }
    return std::make_shared<QtImage>(std::move(image));
}

std::string QtBackend::EncodePng(const backend::Bitmap& bitmap) {
    if (bitmap.Empty()) return std::string();
    // The pixels as they are: 0xAARRGGBB words are Qt's ARGB32.
    const QImage image(reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width,
                       bitmap.height, bitmap.width * 4, QImage::Format_ARGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return std::string();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

backend::Backend::FontMetrics QtBackend::MetricsOf(const TFontInfo& font) {
    const QFontMetrics fm(FontOf(font));
    return FontMetrics{fm.height(), fm.ascent(), fm.descent()};
}

int QtBackend::TextWidth(const TFontInfo& font, std::wstring_view text) {
    return QFontMetrics(FontOf(font)).horizontalAdvance(ToQString(text));
}

SIZE QtBackend::MeasureText(const TFontInfo& font, std::wstring_view text, UINT style, int width) {
    const bool singleLine = (style & DT_SINGLELINE) || !(style & DT_WORDBREAK);
    const int flags = AlignmentOf(style) | (singleLine ? 0 : Qt::TextWordWrap);
    const QRect bound =
        QFontMetrics(FontOf(font))
            .boundingRect(QRect(0, 0, std::max(1, width), 100000), flags, ToQString(text));
    return SIZE{bound.width(), bound.height()};
}

std::vector<backend::Screen> QtBackend::Screens() {
    std::vector<backend::Screen> out;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) out.push_back({ToRect(primary->geometry()), ToRect(primary->availableGeometry())});
    for (QScreen* s : QGuiApplication::screens()) {
        if (s != primary) out.push_back({ToRect(s->geometry()), ToRect(s->availableGeometry())});
    }
    return out;
}

POINT QtBackend::CursorPos() {
    const QPoint p = QCursor::pos();
    return POINT{p.x(), p.y()};
}

void QtBackend::SetCursorPos(POINT pt) {
    QCursor::setPos(pt.x, pt.y);
}

int QtBackend::AskQuestion(backend::NativeWindow*, const std::wstring& text,
                           const std::wstring& caption, UINT type) {
    return qt::AskQuestion(text, caption, type);
}

UINT_PTR QtBackend::ChooseFromMenu(backend::NativeWindow*,
                                   const std::vector<backend::MenuItem>& items, POINT at) {
    return qt::ChooseFromMenu(items, at);
}

std::unique_ptr<backend::TrayIcon> QtBackend::CreateTrayIcon(
    std::function<void(backend::TrayClick)> onClick) {
    return std::make_unique<QtTrayIcon>(std::move(onClick));
}

bool QtBackend::IsTrayAvailable() {
    return tray_->Available();
}

QWidget* QtBackend::WidgetOf(backend::NativeWindow* window) {
    return window ? static_cast<QtWindow*>(window)->widget() : nullptr;
}

}  // namespace UiLib::qt

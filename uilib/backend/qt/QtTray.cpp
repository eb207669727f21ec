#include "uilib/backend/qt/QtTray.h"

#include <QIcon>
#include <QPixmap>
#include <QTimer>
#ifdef UILIB_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#endif

#include "uilib/backend/qt/QtImage.h"
#include "uilib/core/Win32Api.h"

namespace UiLib::qt {

QtTrayIcon::QtTrayIcon(std::function<void(backend::TrayClick)> onClick) {
    QObject::connect(&icon_, &QSystemTrayIcon::activated,
                     [onClick = std::move(onClick)](QSystemTrayIcon::ActivationReason reason) {
                         switch (reason) {
                             case QSystemTrayIcon::Trigger:
                                 onClick(backend::TrayClick::Click);
                                 break;
                             case QSystemTrayIcon::DoubleClick:
                                 onClick(backend::TrayClick::DoubleClick);
                                 break;
                             case QSystemTrayIcon::Context:
                                 onClick(backend::TrayClick::ContextClick);
                                 break;
                             default:
                                 break;
                         }
                     });
}

void QtTrayIcon::SetToolTip(const std::wstring& text) {
    icon_.setToolTip(QString::fromStdWString(text));
}

void QtTrayIcon::SetIcon(const backend::Image* icon) {
    icon_.setIcon(icon ? QIcon(QPixmap::fromImage(QImageOf(*icon))) : QIcon());
}

void QtTrayIcon::Show() {
    icon_.show();
}

bool QtTrayIcon::IsShown() const {
    return icon_.isVisible();
}

TrayWatcher::TrayWatcher() = default;
TrayWatcher::~TrayWatcher() = default;

bool TrayWatcher::Available() {
    if (known_ < 0) {
        known_ = QSystemTrayIcon::isSystemTrayAvailable() ? 1 : 0;
        Watch();
    }
    return known_ == 1;
}

void TrayWatcher::Recheck() {
    const int now = QSystemTrayIcon::isSystemTrayAvailable() ? 1 : 0;
    if (now == known_) return;
    known_ = now;
    backend::TrayAvailabilityChanged(now == 1);
}

void TrayWatcher::Watch() {
    watching_ = std::make_unique<QObject>();
    auto* poll = new QTimer(watching_.get());  // owned by watching_
    QObject::connect(poll, &QTimer::timeout, [this] { Recheck(); });
    poll->start(static_cast<int>(kTrayRecheckMs));
#ifdef UILIB_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* service =
            new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                    QDBusServiceWatcher::WatchForOwnerChange, watching_.get());
        // A watcher that has just registered needs a moment before it takes icons.
        auto* settle = new QTimer(watching_.get());
        settle->setSingleShot(true);
        settle->setInterval(250);
        QObject::connect(settle, &QTimer::timeout, [this] { Recheck(); });
        QObject::connect(service, &QDBusServiceWatcher::serviceOwnerChanged, settle,
                         [settle] { settle->start(); });
    }
#endif
}

}  // namespace UiLib::qt

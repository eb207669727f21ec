#pragma once

// Tray icons of the Qt backend (QSystemTrayIcon), and whether the desktop has a tray.

#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "uilib/src/Backend.h"

class QObject;

namespace UiLib::qt {

class QtTrayIcon final : public backend::TrayIcon {
public:
    explicit QtTrayIcon(std::function<void(backend::TrayClick)> onClick);

    void SetToolTip(const std::wstring& text) override;
    void SetIcon(const backend::Image* icon) override;
    void Show() override;
    bool IsShown() const override;

private:
    QSystemTrayIcon icon_;
};

// Whether the desktop has a tray: asked once (a round trip to the X server and the
// session bus), then kept current without asking on every use. A tray host that
// registers on the session bus (KDE, GNOME with its AppIndicator extension, most
// panels) is seen at once; anything else (an XEmbed tray that starts late or goes
// away) within kTrayRecheckMs. Every change is reported to the framework.
class TrayWatcher {
public:
    TrayWatcher();
    ~TrayWatcher();
    bool Available();

private:
    void Watch();
    void Recheck();

    int known_ = -1;  // the desktop's last answer: -1 not asked yet, 0 no tray, 1 a tray
    std::unique_ptr<QObject> watching_;  // the timers and the bus watcher
};

}  // namespace UiLib::qt

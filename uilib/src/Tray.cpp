// Tray icons on QSystemTrayIcon, and the icon and binary resources of the executable.

#include "uilib/src/Tray.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <map>
#include <memory>
#include <mutex>
#ifdef UILIB_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#endif

#include "uilib/Win32Api.h"
#include "uilib/src/Dispatch.h"
#include "uilib/src/Hooks.h"

namespace UiLib {

using detail::TrayIconInfo;

namespace {

constexpr std::uintptr_t kIconBase = 0x20000;

struct TrayEntry {
    TrayIconInfo info;
    std::unique_ptr<QSystemTrayIcon> icon;
};

struct TrayState {
    std::map<std::pair<HWND, UINT>, TrayEntry> icons;
    int availableOverride = -1;
    int known = -1;  // the desktop's last answer: -1 not asked yet, 0 no tray, 1 a tray
    // Owns the timers and the bus watcher that keep `known` current; a child of the
    // application object, so it ends with it.
    QPointer<QObject> watcher;
};

TrayState& Tray() {
    static TrayState s;
    return s;
}

struct ResourceStore {
    std::mutex mutex;
    std::map<UINT, QIcon> icons;
    std::map<std::pair<std::wstring, UINT>, std::pair<const void*, std::size_t>> data;
};

ResourceStore& Resources() {
    static ResourceStore s;
    return s;
}

std::wstring UpperType(LPCTSTR type) {
    std::wstring t = type ? type : L"";
    for (auto& c : t) c = static_cast<wchar_t>(towupper(static_cast<wint_t>(c)));
    return t;
}

// Tells every window that the tray came or went.
void AnnounceTray(bool available) {
    for (HWND hWnd : detail::AllWindows()) {
        ::UiLib::PostMessageW(hWnd, UIMSG_TRAYCHANGED, available ? 1 : 0, 0);
    }
}

bool AskDesktop() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void Recheck() {
    TrayState& s = Tray();
    const int now = AskDesktop() ? 1 : 0;
    if (now == s.known) return;
    s.known = now;
    if (s.availableOverride < 0) AnnounceTray(now == 1);
}

// Keeps the answer current without asking the desktop on every use: a tray host that
// registers on the session bus (KDE, GNOME with its AppIndicator extension, most
// panels) is seen at once; anything else (an XEmbed tray that starts late or goes
// away) within kTrayRecheckMs.
void WatchTray() {
    TrayState& s = Tray();
    if (s.watcher || !QCoreApplication::instance()) return;
    s.watcher = new QObject(QCoreApplication::instance());
    auto* poll = new QTimer(s.watcher);
    QObject::connect(poll, &QTimer::timeout, [] { Recheck(); });
    poll->start(static_cast<int>(kTrayRecheckMs));
#ifdef UILIB_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* service =
            new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                    QDBusServiceWatcher::WatchForOwnerChange, s.watcher);
        // A watcher that has just registered needs a moment before it takes icons.
        auto* settle = new QTimer(s.watcher);
        settle->setSingleShot(true);
        settle->setInterval(250);
        QObject::connect(settle, &QTimer::timeout, [] { Recheck(); });
        QObject::connect(service, &QDBusServiceWatcher::serviceOwnerChanged, settle,
                         [settle] { settle->start(); });
    }
#endif
}

bool EffectiveTrayAvailable() {
    TrayState& s = Tray();
    if (s.availableOverride >= 0) return s.availableOverride == 1;
    if (!QCoreApplication::instance()) return false;
    if (s.known < 0) {
        s.known = AskDesktop() ? 1 : 0;
        WatchTray();
    }
    return s.known == 1;
}

}  // namespace

void RegisterIconResource(UINT id, const void* data, std::size_t size) {
    QImage image;
    image.loadFromData(static_cast<const uchar*>(data), static_cast<int>(size));
    std::lock_guard<std::mutex> lock(Resources().mutex);
    Resources().icons[id] = image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

HICON LoadIconW(HINSTANCE, LPCTSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    std::lock_guard<std::mutex> lock(Resources().mutex);
    if (!Resources().icons.count(id)) return nullptr;
    return reinterpret_cast<HICON>(kIconBase + id);
}

BOOL DestroyIcon(HICON icon) {
    return icon ? TRUE : FALSE;
}

void RegisterResource(LPCTSTR type, UINT id, const void* data, std::size_t size) {
    std::lock_guard<std::mutex> lock(Resources().mutex);
    Resources().data[{UpperType(type), id}] = {data, size};
}

bool FindResourceData(LPCTSTR type, UINT id, const void** data, std::size_t* size) {
    std::lock_guard<std::mutex> lock(Resources().mutex);
    const auto it = Resources().data.find({UpperType(type), id});
    if (it == Resources().data.end()) return false;
    if (data) *data = it->second.first;
    if (size) *size = it->second.second;
    return true;
}

namespace detail {

QIcon IconFromHandle(HICON icon) {
    const auto v = reinterpret_cast<std::uintptr_t>(icon);
    if (v < kIconBase) return QIcon();
    std::lock_guard<std::mutex> lock(Resources().mutex);
    const auto it = Resources().icons.find(static_cast<UINT>(v - kIconBase));
    return it == Resources().icons.end() ? QIcon() : it->second;
}

void RemoveTrayIconsOf(HWND hWnd) {
    auto& icons = Tray().icons;
    for (auto it = icons.begin(); it != icons.end();) {
        it = it->first.first == hWnd ? icons.erase(it) : std::next(it);
    }
}

void SetTrayAvailableOverride(int value) {
    const bool before = EffectiveTrayAvailable();
    Tray().availableOverride = value;
    const bool after = EffectiveTrayAvailable();
    if (after != before) AnnounceTray(after);
}

std::vector<TrayIconInfo> TrayIcons() {
    std::vector<TrayIconInfo> out;
    for (const auto& [key, entry] : Tray().icons) out.push_back(entry.info);
    return out;
}

bool SendTrayEvent(HWND hWnd, UINT id, UINT mouseMessage) {
    const auto it = Tray().icons.find({hWnd, id});
    if (it == Tray().icons.end()) return false;
    return ::UiLib::PostMessageW(hWnd, it->second.info.callbackMessage, id, mouseMessage) != FALSE;
}

}  // namespace detail

bool IsSystemTrayAvailable() {
    if (!detail::IsUiThread()) {
        bool result = false;
        detail::RunOnUiBlocking([&] { result = EffectiveTrayAvailable(); });
        return result;
    }
    return EffectiveTrayAvailable();
}

BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW* data) {
    if (!data) return FALSE;
    if (!detail::IsUiThread()) {
        BOOL result = FALSE;
        detail::RunOnUiBlocking([&] { result = Shell_NotifyIconW(message, data); });
        return result;
    }
    auto& icons = Tray().icons;
    const auto key = std::make_pair(data->hWnd, data->uID);
    const auto it = icons.find(key);
    auto apply = [data](TrayEntry& entry) {
        if (data->uFlags & NIF_MESSAGE) entry.info.callbackMessage = data->uCallbackMessage;
        if (data->uFlags & NIF_TIP) {
            entry.info.tip.assign(data->szTip, wcsnlen(data->szTip, std::size(data->szTip)));
            entry.icon->setToolTip(QString::fromStdWString(entry.info.tip));
        }
        if (data->uFlags & NIF_ICON) {
            entry.info.icon = data->hIcon;
            const QIcon icon = detail::IconFromHandle(data->hIcon);
            entry.icon->setIcon(icon);
            // The desktop shows an icon only once it has a picture.
            if (!icon.isNull() && !entry.icon->isVisible()) entry.icon->show();
        }
    };
    switch (message) {
        case NIM_ADD: {
            if (it != icons.end() || !IsWindow(data->hWnd)) return FALSE;
            TrayEntry entry;
            entry.info.hWnd = data->hWnd;
            entry.info.id = data->uID;
            entry.icon = std::make_unique<QSystemTrayIcon>();
            apply(entry);
            const HWND hWnd = data->hWnd;
            const UINT id = data->uID;
            QObject::connect(entry.icon.get(), &QSystemTrayIcon::activated,
                             [hWnd, id](QSystemTrayIcon::ActivationReason reason) {
                                 switch (reason) {
                                     case QSystemTrayIcon::Trigger:
                                         detail::SendTrayEvent(hWnd, id, WM_LBUTTONDOWN);
                                         detail::SendTrayEvent(hWnd, id, WM_LBUTTONUP);
                                         break;
                                     case QSystemTrayIcon::DoubleClick:
                                         detail::SendTrayEvent(hWnd, id, WM_LBUTTONDBLCLK);
                                         break;
                                     case QSystemTrayIcon::Context:
                                         detail::SendTrayEvent(hWnd, id, WM_RBUTTONDOWN);
                                         detail::SendTrayEvent(hWnd, id, WM_RBUTTONUP);
                                         break;
                                     default:
                                         break;
                                 }
                             });
            icons.emplace(key, std::move(entry));
            return TRUE;
        }
        case NIM_MODIFY:
            if (it == icons.end()) return FALSE;
            apply(it->second);
            return TRUE;
        case NIM_DELETE:
            if (it == icons.end()) return FALSE;
            icons.erase(it);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace UiLib

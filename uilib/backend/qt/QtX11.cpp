#include "uilib/backend/qt/QtX11.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>

namespace UiLib::qt {

void SetX11Backdrop(QWidget& window, QRgb color) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Not before the native window exists: winId() would make it early.
    if (!x11 || !window.testAttribute(Qt::WA_WState_Created)) return;
    xcb_connection_t* connection = x11->connection();
    if (!connection) return;
    // Qt's widget windows use the screen's 24-bit true-colour visual: 0x00RRGGBB.
    const uint32_t pixel = color & 0x00FFFFFFu;
    xcb_change_window_attributes(connection, static_cast<xcb_window_t>(window.winId()),
                                 XCB_CW_BACK_PIXEL, &pixel);
    xcb_flush(connection);
}

}  // namespace UiLib::qt

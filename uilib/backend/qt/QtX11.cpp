#include "uilib/backend/qt/QtX11.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

#include <QGuiApplication>
#include <QWidget>

namespace UiLib::qt {

namespace {

// A colour channel (0..255) placed under a visual's mask (0xFF0000, 0xF800, ...).
uint32_t Place(uint32_t channel, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1u)) ++shift;
    const uint32_t top = mask >> shift;  // the channel's largest value
    return ((channel * top + 127) / 255) << shift;
}

// The pixel value of colour in the visual of the window; a 24-bit true-colour value
// (0x00RRGGBB, what X servers use nearly everywhere) when the visual is not found.
uint32_t PixelOf(xcb_connection_t* connection, xcb_window_t window, QRgb color) {
    const uint32_t rgb = color & 0x00FFFFFFu;
    struct Free {
        void operator()(void* p) const { std::free(p); }
    };
    std::unique_ptr<xcb_get_window_attributes_reply_t, Free> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window),
                                        nullptr));
    if (!attributes) return rgb;
    for (auto screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem;
         xcb_screen_next(&screen)) {
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem;
             xcb_depth_next(&depth)) {
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
                 xcb_visualtype_next(&visual)) {
                const xcb_visualtype_t& v = *visual.data;
                if (v.visual_id != attributes->visual) continue;
                if (v._class != XCB_VISUAL_CLASS_TRUE_COLOR &&
                    v._class != XCB_VISUAL_CLASS_DIRECT_COLOR) {
                    return rgb;
                }
                return Place(qRed(color), v.red_mask) | Place(qGreen(color), v.green_mask) |
                       Place(qBlue(color), v.blue_mask);
            }
        }
    }
    return rgb;
}

}  // namespace

void SetX11Backdrop(QWidget& window, QRgb color) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Not before the native window exists: winId() would make it early.
    if (!x11 || !window.testAttribute(Qt::WA_WState_Created)) return;
    xcb_connection_t* connection = x11->connection();
    if (!connection) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const uint32_t pixel = PixelOf(connection, id, color);
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXEL, &pixel);
    xcb_flush(connection);
}

}  // namespace UiLib::qt

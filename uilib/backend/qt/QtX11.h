#pragma once

// What the Qt backend does on an X server beyond what Qt offers.

#include <QRgb>

class QWidget;

namespace UiLib::qt {

// Gives the native X window of a top-level widget an opaque background colour, which the
// X server paints wherever the window is exposed before the program has drawn there. Qt
// creates its X windows without a background ("None"), so without a compositor a window
// whose first frame is late shows what was on the screen below it, on an empty desktop
// black. Does nothing off X (offscreen, Wayland) or before the native window exists.
void SetX11Backdrop(QWidget& window, QRgb color);

}  // namespace UiLib::qt

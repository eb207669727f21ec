#pragma once

// The painting context behind an HDC.

#include <QPainter>

#include "uilib/Win32Types.h"

namespace UiLib {

struct UiDC {
    explicit UiDC(QPainter* p) : painter(p) {}
    QPainter* painter;
};

}  // namespace UiLib

#pragma once

// TFontInfo: a font of a window, as the layout's <Font> entries describe it.

#include "uilib/core/DuiString.h"

namespace UiLib {

struct TFontInfo {
    CDuiString sFontName;
    int iSize = 12;  // pixels
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
};

}  // namespace UiLib

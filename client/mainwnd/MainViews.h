#pragma once

// Small helpers for the main window's views that skip controls the skin lacks.

#include "uilib/UiLib.h"

inline void SetViewVisible(UiLib::CControlUI* view, bool visible) {
    if (view) view->SetVisible(visible);
}

inline bool IsViewVisible(const UiLib::CControlUI* view) {
    return view && view->IsVisible();
}

// CTrovik's keys: paging through the results and stepping the episode blocks from the
// keyboard, the same way the wheel and the "<<" / ">>" buttons do.

#include "client/mainwnd/Trovik.h"

using namespace UiLib;

LRESULT CTrovik::ResponseDefaultKeyEvent(WPARAM wParam) {
    // In the search box the arrows, Home and End move the caret.
    const bool inSearchBox =
        controls_.searchBox && m_PaintManager.GetFocus() == controls_.searchBox;
    const int pages = controls_.resultTabs ? controls_.resultTabs->GetCount() : 0;
    switch (wParam) {
        case VK_PRIOR:
            PageResults(WHEEL_DELTA);
            return TRUE;
        case VK_NEXT:
            PageResults(-WHEEL_DELTA);
            return TRUE;
        case VK_UP:
        case VK_DOWN:
            if (inSearchBox) return FALSE;
            PageResults(wParam == VK_UP ? WHEEL_DELTA : -WHEEL_DELTA);
            return TRUE;
        case VK_HOME:
        case VK_END:
            if (inSearchBox || pages == 0) return FALSE;
            ShowResultPage(wParam == VK_HOME ? 0 : pages - 1);
            return TRUE;
        case VK_LEFT:
        case VK_RIGHT:
            if (inSearchBox) return FALSE;
            StepEpisodeBlock(wParam == VK_LEFT ? -1 : 1);
            return TRUE;
        case VK_ESCAPE:
            // The caption's "closebtn" puts the window in the tray; a key that nobody
            // sees pressed must not.
            return TRUE;
        default:
            return CMsFrameWnd::ResponseDefaultKeyEvent(wParam);
    }
}

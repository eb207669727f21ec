#pragma once

// InputRouter: a window's input messages turned into events of its controls. It keeps
// the hot control (the one under the pointer) with its enter and leave events, the
// control a left press started on (which gets the moves and the release), moves the
// focus on presses and Tab, sends keys to the focused control, and leaves presses on
// the layout's caption and size box to the window (drag, resize).

#include "uilib/core/Win32Types.h"

namespace UiLib {
class CControlUI;
class CPaintManagerUI;
}  // namespace UiLib

namespace UiLib::detail {

class InputRouter {
public:
    explicit InputRouter(CPaintManagerUI& manager) : pm_(manager) {}

    // The paint manager's MessageHandler: message filters first, then the controls.
    // True when the message was handled (also when the window went away meanwhile).
    bool Route(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

private:
    bool MouseMove(POINT pt, WPARAM wParam);
    bool ButtonDown(UINT uMsg, POINT pt, WPARAM wParam);
    bool LeftButtonUp(POINT pt, WPARAM wParam);
    bool RightButtonUp(POINT pt);
    bool Wheel(WPARAM wParam, LPARAM lParam);
    bool Key(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void SetHotControl(CControlUI* control, POINT pt);
    // Tab (forward) and Shift+Tab: the next or previous tab stop in layout order that
    // is visible, enabled and inside the window, wrapping around at the ends.
    void MoveFocusToNextTabStop(bool forward);
    static bool IsOnScreen(const CControlUI* control, const RECT& window);
    // Whether a press at pt drags the window: inside the caption, not on a control that
    // takes clicks.
    bool IsCaptionPoint(POINT pt) const;
    // The backend::kEdge* bits of the size box borders at pt (0: none).
    UINT SizeBoxEdges(POINT pt) const;

    CPaintManagerUI& pm_;
};

}  // namespace UiLib::detail

#pragma once

// AccessibleControls: a window's control tree as assistive technology sees it (the
// framework's side of backend::AccessibleTree). Controls are looked up by their
// AccessId on every question, so a control that is gone simply describes nothing.

#include "uilib/src/Backend.h"

namespace UiLib {
class CControlUI;
}

namespace UiLib::detail {

class AccessibleControls final : public backend::AccessibleTree {
public:
    explicit AccessibleControls(HWND hWnd) : hWnd_(hWnd) {}

    std::vector<AccessId> Children(AccessId parent) override;
    AccessId Parent(AccessId id) override;
    bool Describe(AccessId id, AccessInfo& info) override;
    AccessId Focus() override;
    AccessId At(POINT client) override;
    bool Press(AccessId id) override;
    bool SetFocus(AccessId id) override;

private:
    CControlUI* Find(AccessId id) const;

    HWND hWnd_;
};

// Whether a control is shown to assistive technology on its own (plain layouts and bare
// decorations are looked through).
bool IsAccessibleNode(CControlUI& control);

}  // namespace UiLib::detail

#pragma once

// What assistive technology (a screen reader) is told about a control: its role, its
// state, and the name and description it reads out. The backend hands this to the
// desktop's accessibility bus.

#include <cstdint>
#include <string>

#include "uilib/core/Win32Types.h"

namespace UiLib {

enum class AccessRole {
    None,  // not shown to assistive technology (a bare decoration)
    Window,
    Dialog,
    Pane,
    Button,
    CheckBox,
    RadioButton,
    Edit,
    StaticText,
    ProgressBar,
    List,
    ListItem,
    Menu,
    MenuItem,
    PageTabList,
    PageTab,
    Graphic,
};

// State bits of a control as assistive technology sees it.
enum AccessState : UINT {
    kAccessFocusable = 1u << 0,
    kAccessFocused = 1u << 1,
    kAccessCheckable = 1u << 2,
    kAccessChecked = 1u << 3,
    kAccessSelectable = 1u << 4,
    kAccessSelected = 1u << 5,
    kAccessDisabled = 1u << 6,
    kAccessInvisible = 1u << 7,
};

// A control's identity for assistive technology: a number never reused in the process,
// so a stale one finds nothing. 0 is no control.
using AccessId = std::uint64_t;

// One control described.
struct AccessInfo {
    AccessRole role = AccessRole::None;
    std::wstring name;
    std::wstring description;
    std::wstring value;
    UINT state = 0;
    RECT rect{};  // in the window's client coordinates
};

}  // namespace UiLib

#pragma once

// The control classes layouts can name. Every class registers a factory under its
// element name ("Button", "VerticalLayout", …); CDialogBuilder asks the window's
// IDialogBuilderCallback first and then this registry, so it needs to know no
// control class itself. A program's own controls register the same way, once, in
// the control's source file:
//
//     UILIB_REGISTER_CONTROL(L"MenuElement", CMenuElementUI);
//
// (In a static library the registration takes effect when the control's object file
// is linked, that is when the program uses the control anywhere.)

#include <memory>

#include "uilib/core/Control.h"

namespace UiLib {

using ControlFactory = std::unique_ptr<CControlUI> (*)();

// Registers the factory for layout elements named `name` (compared exactly, as
// element names are). A later registration of the same name replaces the earlier one.
// Returns true, so that a registration can initialise a static.
bool RegisterControlClass(LPCTSTR name, ControlFactory factory);
// A new control for the element name, or null when no class is registered under it.
std::unique_ptr<CControlUI> CreateRegisteredControl(LPCTSTR name);
bool IsControlClassRegistered(LPCTSTR name);

}  // namespace UiLib

#define UILIB_REGISTER_CONTROL_JOIN2(a, b) a##b
#define UILIB_REGISTER_CONTROL_JOIN(a, b) UILIB_REGISTER_CONTROL_JOIN2(a, b)
// Registers Class for layout elements named `name` when the program starts.
#define UILIB_REGISTER_CONTROL(name, Class)                                                        \
    [[maybe_unused]] static const bool UILIB_REGISTER_CONTROL_JOIN(uilibControlClass_, __LINE__) = \
        ::UiLib::RegisterControlClass(name, []() -> std::unique_ptr<::UiLib::CControlUI> {         \
            return std::make_unique<Class>();                                                      \
        })

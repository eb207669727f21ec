#pragma once

// The accessibility bridge: the framework's windowless controls as Qt accessibility
// interfaces, which Qt hands to the desktop's accessibility bus (AT-SPI on Linux). A
// window's widget gets an interface whose children are its controls as the framework
// describes them (backend::AccessibleTree); each control's interface is made when
// first asked for, registered with Qt, and deleted with the window.

#include <QAccessible>
#include <memory>
#include <unordered_map>

#include "uilib/src/Backend.h"

namespace UiLib::qt {

class WindowWidget;

class AccessibleNodes {
public:
    explicit AccessibleNodes(WindowWidget* widget) : widget_(widget) {}
    ~AccessibleNodes();
    AccessibleNodes(const AccessibleNodes&) = delete;
    AccessibleNodes& operator=(const AccessibleNodes&) = delete;

    // The interface of a control (null for 0); made and registered on first use.
    QAccessibleInterface* NodeFor(AccessId id);

private:
    // Forgets the interfaces of controls that are gone.
    void Prune();

    WindowWidget* widget_;
    std::unordered_map<AccessId, QAccessible::Id> ids_;
};

// Gives every window widget its interface; installed once, before the first window.
void InstallAccessibleFactory();
// The event that tells assistive technology that the control `id` of the widget's
// window has the focus; null for no control.
std::unique_ptr<QAccessibleEvent> FocusEventFor(WindowWidget* widget, AccessId id);
// Sends it, while assistive technology listens (QAccessible::isActive).
void AnnounceFocus(WindowWidget* widget, AccessId id);

}  // namespace UiLib::qt

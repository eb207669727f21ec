#include "uilib/src/window/AccessibleControls.h"

#include "uilib/core/Container.h"
#include "uilib/core/PaintManager.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib::detail {

namespace {

CControlUI* FindById(CControlUI* control, AccessId id) {
    if (!control) return nullptr;
    if (control->GetAccessId() == id) return control;
    if (auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"))) {
        for (int i = 0; i < container->GetCount(); ++i) {
            if (CControlUI* found = FindById(container->GetItemAt(i), id)) return found;
        }
    }
    return nullptr;
}

// The shown controls below `control` (itself excluded), looking through plain layouts.
void CollectShown(CControlUI* control, std::vector<AccessId>& out) {
    auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"));
    if (!container) return;
    for (int i = 0; i < container->GetCount(); ++i) {
        CControlUI* child = container->GetItemAt(i);
        if (IsAccessibleNode(*child)) {
            out.push_back(child->GetAccessId());
        } else {
            CollectShown(child, out);
        }
    }
}

CControlUI* ShownAncestor(CControlUI* control) {
    for (CControlUI* p = control->GetParent(); p; p = p->GetParent()) {
        if (IsAccessibleNode(*p)) return p;
    }
    return nullptr;
}

}  // namespace

bool IsAccessibleNode(CControlUI& control) {
    const AccessInfo info = control.DescribeForAccessibility();
    if (info.role == AccessRole::None) return false;
    // A layout without a name of its own only groups: its children stand for it.
    return info.role != AccessRole::Pane || !info.name.empty();
}

CControlUI* AccessibleControls::Find(AccessId id) const {
    CPaintManagerUI* manager = ManagerOf(hWnd_);
    if (!manager || id == 0) return nullptr;
    return FindById(manager->GetRoot(), id);
}

std::vector<AccessId> AccessibleControls::Children(AccessId parent) {
    std::vector<AccessId> out;
    CPaintManagerUI* manager = ManagerOf(hWnd_);
    CControlUI* root = manager ? manager->GetRoot() : nullptr;
    if (!root) return out;
    if (parent == 0) {
        if (IsAccessibleNode(*root)) {
            out.push_back(root->GetAccessId());
        } else {
            CollectShown(root, out);
        }
        return out;
    }
    if (CControlUI* control = Find(parent)) CollectShown(control, out);
    return out;
}

AccessId AccessibleControls::Parent(AccessId id) {
    CControlUI* control = Find(id);
    CControlUI* ancestor = control ? ShownAncestor(control) : nullptr;
    return ancestor ? ancestor->GetAccessId() : 0;
}

bool AccessibleControls::Describe(AccessId id, AccessInfo& info) {
    CControlUI* control = Find(id);
    if (!control) return false;
    info = control->DescribeForAccessibility();
    return true;
}

AccessId AccessibleControls::Focus() {
    CPaintManagerUI* manager = ManagerOf(hWnd_);
    CControlUI* focus = manager ? manager->GetFocus() : nullptr;
    if (focus && !IsAccessibleNode(*focus)) focus = ShownAncestor(focus);
    return focus ? focus->GetAccessId() : 0;
}

AccessId AccessibleControls::At(POINT client) {
    CPaintManagerUI* manager = ManagerOf(hWnd_);
    CControlUI* control = manager ? manager->FindControl(client) : nullptr;
    if (control && !IsAccessibleNode(*control)) control = ShownAncestor(control);
    return control ? control->GetAccessId() : 0;
}

bool AccessibleControls::Press(AccessId id) {
    CControlUI* control = Find(id);
    return control && control->Activate();
}

bool AccessibleControls::SetFocus(AccessId id) {
    CControlUI* control = Find(id);
    if (!control || !(control->GetControlFlags() & UIFLAG_TABSTOP)) return false;
    control->SetFocus();
    return control->IsFocused();
}

}  // namespace UiLib::detail

#include <algorithm>

#include "uilib/src/controls/LinearLayout.h"

namespace UiLib {

namespace {
void FloatPos(CContainerUI* self, int index);
}  // namespace

namespace detail {

int LayoutLinear(CContainerUI* self, const RECT& rcItem, bool vertical, int scrollOffset) {
    const RECT inset = self->GetInset();
    const RECT rc{rcItem.left + inset.left, rcItem.top + inset.top, rcItem.right - inset.right,
                  rcItem.bottom - inset.bottom};
    const int mainSize = std::max<int>(0, vertical ? rc.bottom - rc.top : rc.right - rc.left);
    const int crossSize = std::max<int>(0, vertical ? rc.right - rc.left : rc.bottom - rc.top);
    const int childPadding = self->GetChildPadding();

    struct Slot {
        CControlUI* control;
        int main;  // 0: takes a share
        int cross;
    };
    std::vector<Slot> slots;
    int fixedTotal = 0;
    int adjustables = 0;
    for (int i = 0; i < self->GetCount(); ++i) {
        CControlUI* c = self->GetItemAt(i);
        if (!c->IsVisible()) continue;
        if (c->IsFloat()) {
            FloatPos(self, i);
            continue;
        }
        const RECT pad = c->GetPadding();
        const SIZE avail = vertical ? SIZE{crossSize - pad.left - pad.right, mainSize}
                                    : SIZE{mainSize, crossSize - pad.top - pad.bottom};
        const SIZE want = c->EstimateSize(avail);
        int mainWant = vertical ? want.cy : want.cx;
        const int mainMin = vertical ? c->GetMinHeight() : c->GetMinWidth();
        const int mainMax = std::max(mainMin, vertical ? c->GetMaxHeight() : c->GetMaxWidth());
        if (mainWant > 0) {
            mainWant = std::clamp(mainWant, mainMin, mainMax);
            fixedTotal += mainWant;
        } else {
            ++adjustables;
        }
        fixedTotal += vertical ? pad.top + pad.bottom : pad.left + pad.right;
        slots.push_back(Slot{c, mainWant, vertical ? want.cx : want.cy});
    }
    if (slots.size() > 1) fixedTotal += childPadding * static_cast<int>(slots.size() - 1);
    // Share what is left among the children without a size; a child whose bounds
    // change its share takes the bounded size and the rest is shared again.
    std::vector<int> sizes(slots.size(), 0);
    std::vector<bool> settled(slots.size(), false);
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].main > 0) {
            sizes[i] = slots[i].main;
            settled[i] = true;
        }
    }
    for (bool again = adjustables > 0; again;) {
        again = false;
        int open = 0;
        int taken = fixedTotal;
        for (size_t i = 0; i < slots.size(); ++i) {
            if (slots[i].main > 0) continue;
            if (settled[i]) {
                taken += sizes[i];
            } else {
                ++open;
            }
        }
        if (open == 0) break;
        const int free = std::max(0, mainSize - taken);
        const int share = free / open;
        int remainder = free - share * open;
        for (size_t i = 0; i < slots.size(); ++i) {
            if (settled[i]) continue;
            CControlUI* c = slots[i].control;
            int main = share;
            if (--open == 0) main += remainder;  // the last one takes the rest
            const int mainMin = vertical ? c->GetMinHeight() : c->GetMinWidth();
            const int mainMax = std::max(mainMin, vertical ? c->GetMaxHeight() : c->GetMaxWidth());
            const int bounded = std::clamp(main, mainMin, mainMax);
            sizes[i] = bounded;
            if (bounded != main) {
                settled[i] = true;
                again = true;
                break;
            }
        }
    }

    int pos = (vertical ? rc.top : rc.left) - scrollOffset;
    int used = 0;
    for (size_t i = 0; i < slots.size(); ++i) {
        const Slot& slot = slots[i];
        CControlUI* c = slot.control;
        const RECT pad = c->GetPadding();
        const int main = sizes[i];
        int cross = slot.cross;
        const int crossAvail =
            std::max<int>(0, crossSize - (vertical ? pad.left + pad.right : pad.top + pad.bottom));
        if (cross <= 0) cross = crossAvail;
        const int crossMin = vertical ? c->GetMinWidth() : c->GetMinHeight();
        const int crossMax = std::max(crossMin, vertical ? c->GetMaxWidth() : c->GetMaxHeight());
        cross = std::clamp(cross, crossMin, crossMax);
        RECT r;
        if (vertical) {
            pos += pad.top;
            r = RECT{rc.left + pad.left, pos, rc.left + pad.left + cross, pos + main};
            pos += main + pad.bottom + childPadding;
            used += pad.top + main + pad.bottom + childPadding;
        } else {
            pos += pad.left;
            r = RECT{pos, rc.top + pad.top, pos + main, rc.top + pad.top + cross};
            pos += main + pad.right + childPadding;
            used += pad.left + main + pad.right + childPadding;
        }
        c->SetPos(r, false);
    }
    if (!slots.empty()) used -= childPadding;
    return std::max(0, used - mainSize);
}

}  // namespace detail

// Grants the layout helper access to the protected float placement.
class LinearLayoutAccess : public CContainerUI {
public:
    static void Float(CContainerUI* self, int index) {
        (self->*(&LinearLayoutAccess::SetFloatPos))(index);
    }
};

namespace {
void FloatPos(CContainerUI* self, int index) {
    LinearLayoutAccess::Float(self, index);
}
}  // namespace

}  // namespace UiLib

#include "client/menu/MenuUI.h"

#include <algorithm>

#include "client/menu/MenuElementUI.h"

using namespace UiLib;

UILIB_REGISTER_CONTROL(L"Menu", CMenuUI);

LPCTSTR CMenuUI::GetClass() const {
    return L"MenuUI";
}

LPVOID CMenuUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Menu")) return static_cast<CMenuUI*>(this);
    return CListUI::GetInterface(pstrName);
}

SIZE CMenuUI::EstimateSize(SIZE szAvailable) {
    LONG width = 0;
    LONG height = 0;
    int shown = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible()) continue;
        auto* item = static_cast<CMenuElementUI*>(control->GetInterface(L"MenuElement"));
        const SIZE size = item ? item->ItemSize(szAvailable) : control->EstimateSize(szAvailable);
        const RECT pad = control->GetPadding();
        width = std::max<LONG>(width, size.cx + pad.left + pad.right);
        height += size.cy + pad.top + pad.bottom;
        ++shown;
    }
    if (shown > 1) height += GetChildPadding() * (shown - 1);
    const RECT inset = GetInset();
    const LONG border = 2 * GetBorderSize();
    return SIZE{width + inset.left + inset.right + border,
                height + inset.top + inset.bottom + border};
}

void CMenuUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_KEYDOWN && (event.chKey == VK_UP || event.chKey == VK_DOWN)) {
        const int step = event.chKey == VK_UP ? -1 : 1;
        for (int i = GetCurSel() + step; i >= 0 && i < GetCount(); i += step) {
            CControlUI* item = GetItemAt(i);
            if (item->IsVisible() && item->IsEnabled()) {
                SelectItem(i, true);
                break;
            }
        }
        return;
    }
    CListUI::DoEvent(event);
}

void CMenuUI::CopyLookOf(CMenuUI& other) {
    m_ListInfo = *other.GetListInfo();
    SetBkColor(other.GetBkColor());
    SetBorderColor(other.GetBorderColor());
    SetBorderSize(other.GetBorderSize());
    SetInset(other.GetInset());
}

AccessInfo CMenuUI::DescribeForAccessibility() {
    AccessInfo info = CListUI::DescribeForAccessibility();
    info.role = AccessRole::Menu;
    return info;
}

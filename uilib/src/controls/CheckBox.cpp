#include "uilib/controls/CheckBox.h"

namespace UiLib {

LPCTSTR CCheckBoxUI::GetClass() const {
    return L"CheckBoxUI";
}

LPVOID CCheckBoxUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"CheckBox")) return static_cast<CCheckBoxUI*>(this);
    return COptionUI::GetInterface(pstrName);
}

void CCheckBoxUI::SetCheck(bool bCheck, bool bTriggerEvent) {
    Selected(bCheck, bTriggerEvent);
}

bool CCheckBoxUI::GetCheck() const {
    return IsSelected();
}

}  // namespace UiLib

#include "uilib/controls/HorizontalLayout.h"
#include "uilib/src/controls/LinearLayout.h"

namespace UiLib {

LPCTSTR CHorizontalLayoutUI::GetClass() const {
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"HorizontalLayout")) return static_cast<CHorizontalLayoutUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    detail::LayoutLinear(this, m_rcItem, false, 0);
}

}  // namespace UiLib

#include "uilib/controls/VerticalLayout.h"
#include "uilib/src/controls/LinearLayout.h"

namespace UiLib {

LPCTSTR CVerticalLayoutUI::GetClass() const {
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"VerticalLayout")) return static_cast<CVerticalLayoutUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    rc = m_rcItem;
    m_iScrollRange = detail::LayoutLinear(this, rc, true, m_iScrollOffset);
    if (m_iScrollOffset > m_iScrollRange) {
        m_iScrollOffset = m_iScrollRange;
        m_iScrollRange = detail::LayoutLinear(this, rc, true, m_iScrollOffset);
    }
}

}  // namespace UiLib

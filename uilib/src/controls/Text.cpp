#include "uilib/controls/Text.h"

namespace UiLib {

CTextUI::CTextUI() {
    m_uTextStyle = DT_WORDBREAK;
}

LPCTSTR CTextUI::GetClass() const {
    return L"TextUI";
}

LPVOID CTextUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Text")) return static_cast<CTextUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

SIZE CTextUI::EstimateSize(SIZE szAvailable) {
    return CLabelUI::EstimateSize(szAvailable);
}

}  // namespace UiLib

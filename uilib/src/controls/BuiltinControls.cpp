#include "uilib/src/controls/BuiltinControls.h"

#include "uilib/UiLib.h"

namespace UiLib::detail {

namespace {
template <typename T>
std::unique_ptr<CControlUI> Make() {
    return std::make_unique<T>();
}
}  // namespace

void RegisterBuiltinControls(const std::function<void(LPCTSTR, ControlFactory)>& add) {
    add(L"Control", Make<CControlUI>);
    add(L"Label", Make<CLabelUI>);
    add(L"Text", Make<CTextUI>);
    add(L"Button", Make<CButtonUI>);
    add(L"Option", Make<COptionUI>);
    add(L"CheckBox", Make<CCheckBoxUI>);
    add(L"Edit", Make<CEditUI>);
    add(L"Progress", Make<CProgressUI>);
    add(L"Container", Make<CContainerUI>);
    add(L"VerticalLayout", Make<CVerticalLayoutUI>);
    add(L"HorizontalLayout", Make<CHorizontalLayoutUI>);
    add(L"TabLayout", Make<CTabLayoutUI>);
    add(L"AnimationTabLayout", Make<CAnimationTabLayoutUI>);
    add(L"List", Make<CListUI>);
    add(L"ListContainerElement", Make<CListContainerElementUI>);
}

}  // namespace UiLib::detail

// What every control tells assistive technology by default: a role from the control's
// kind, its text (without markup) or else its tooltip as the name, and its state.

#include "uilib/controls/Edit.h"
#include "uilib/controls/List.h"
#include "uilib/controls/Option.h"
#include "uilib/controls/Progress.h"
#include "uilib/core/Container.h"
#include "uilib/core/PaintManager.h"
#include "uilib/src/drawing/HtmlText.h"

namespace UiLib {

namespace {

AccessRole RoleOf(CControlUI& control) {
    if (control.GetInterface(L"Edit")) return AccessRole::Edit;
    if (control.GetInterface(L"CheckBox")) return AccessRole::CheckBox;
    if (control.GetInterface(L"Option")) return AccessRole::RadioButton;
    if (control.GetInterface(L"Button")) return AccessRole::Button;
    if (control.GetInterface(L"Progress")) return AccessRole::ProgressBar;
    if (control.GetInterface(L"ListItem")) return AccessRole::ListItem;
    if (control.GetInterface(L"List")) return AccessRole::List;
    if (control.GetInterface(L"TabLayout")) return AccessRole::PageTabList;
    if (control.GetInterface(L"Container")) return AccessRole::Pane;
    if (control.GetInterface(L"Label")) return AccessRole::StaticText;
    // A bare control is a decoration unless it says something.
    return control.GetToolTip().IsEmpty() ? AccessRole::None : AccessRole::Graphic;
}

// The words of a text with inline markup, line breaks as spaces.
std::wstring PlainText(const std::wstring& text) {
    std::wstring out;
    for (const detail::TextRun& run : detail::ParseMarkup(text, -1)) {
        out += run.lineBreak ? std::wstring(L" ") : run.text;
    }
    return out;
}

}  // namespace

AccessInfo CControlUI::DescribeForAccessibility() {
    AccessInfo info;
    info.role = RoleOf(*this);
    info.rect = m_rcItem;
    std::wstring text = GetText().str();
    auto* label = static_cast<CLabelUI*>(GetInterface(L"Label"));
    if (label && label->IsShowHtml()) text = PlainText(text);
    const std::wstring tip = GetToolTip().str();
    if (info.role == AccessRole::Edit) {
        // An edit's text is its value; its tooltip names it.
        info.value = text;
        info.name = tip.empty() ? text : tip;
    } else if (!text.empty()) {
        info.name = text;
        if (tip != text) info.description = tip;
    } else {
        info.name = tip;
    }
    if (auto* progress = static_cast<CProgressUI*>(GetInterface(L"Progress"))) {
        info.name = tip;
        info.value = std::to_wstring(progress->GetValue());
    }
    if (GetControlFlags() & UIFLAG_TABSTOP) info.state |= kAccessFocusable;
    if (IsFocused()) info.state |= kAccessFocused;
    if (!IsEnabled()) info.state |= kAccessDisabled;
    if (!IsVisible()) info.state |= kAccessInvisible;
    if (auto* option = static_cast<COptionUI*>(GetInterface(L"Option"))) {
        info.state |= kAccessCheckable;
        if (option->IsSelected()) info.state |= kAccessChecked;
    }
    if (auto* item = static_cast<IListItemUI*>(GetInterface(L"ListItem"))) {
        info.state |= kAccessSelectable;
        if (item->IsSelected()) info.state |= kAccessSelected;
    }
    return info;
}

}  // namespace UiLib

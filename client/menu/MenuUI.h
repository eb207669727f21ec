#pragma once

// CMenuUI: the list that holds the items of one popup (layout tag "Menu").

#include "uilib/UiLib.h"

class CMenuUI : public UiLib::CListUI {
public:
    UiLib::LPCTSTR GetClass() const override;
    UiLib::LPVOID GetInterface(UiLib::LPCTSTR pstrName) override;

    // The popup's size: the widest item and the items' heights, with the inset and
    // the border.
    UiLib::SIZE EstimateSize(UiLib::SIZE szAvailable) override;
    // Up and Down move over the items that can be chosen (separators are skipped).
    void DoEvent(UiLib::TEventUI& event) override;
    // A popup menu to assistive technology.
    UiLib::AccessInfo DescribeForAccessibility() override;

    // Takes the appearance of another menu: its row style, colours, border and inset.
    void CopyLookOf(CMenuUI& other);
};

#pragma once

// CTextUI: a label whose text wraps at word boundaries over several lines.

#include "uilib/controls/Label.h"

namespace UiLib {

class CTextUI : public CLabelUI {
public:
    CTextUI();
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    SIZE EstimateSize(SIZE szAvailable) override;
};

}  // namespace UiLib

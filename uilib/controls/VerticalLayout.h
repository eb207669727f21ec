#pragma once

// CVerticalLayoutUI: children one below the other.

#include "uilib/core/Container.h"

namespace UiLib {

class CVerticalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

}  // namespace UiLib

#pragma once

// CHorizontalLayoutUI: children one beside the other.

#include "uilib/core/Container.h"

namespace UiLib {

class CHorizontalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

}  // namespace UiLib

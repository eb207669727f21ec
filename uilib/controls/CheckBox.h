#pragma once

// CCheckBoxUI: an option without a group that toggles.

#include "uilib/controls/Option.h"

namespace UiLib {

class CCheckBoxUI : public COptionUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetCheck(bool bCheck, bool bTriggerEvent = true);
    bool GetCheck() const;
};

}  // namespace UiLib

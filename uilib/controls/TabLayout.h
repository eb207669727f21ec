#pragma once

// CTabLayoutUI: one child page visible at a time.

#include "uilib/core/Container.h"

namespace UiLib {

class CTabLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    void RemoveAll() override;
    using CContainerUI::Add;
    using CContainerUI::AddAt;

    // The selected page, -1 when there is none.
    int GetCurSel() const;
    // Shows page iIndex; false for an index out of range.
    virtual bool SelectItem(int iIndex);
    bool SelectItem(CControlUI* pControl);

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    int m_iCurSel = -1;
    int m_iInitSel = 0;
};

}  // namespace UiLib

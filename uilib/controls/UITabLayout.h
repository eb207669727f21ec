#pragma once

// Tab layouts: one child page visible at a time.

#include "uilib/core/UIContainer.h"

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

// A tab layout that slides the newly selected page in from the side.
class CAnimationTabLayoutUI : public CTabLayoutUI {
public:
    CAnimationTabLayoutUI();
    ~CAnimationTabLayoutUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool SelectItem(int iIndex) override;
    using CTabLayoutUI::SelectItem;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void DoEvent(TEventUI& event) override;

    // Whether a slide is running.
    bool IsAnimating() const { return m_iFrame >= 0; }
    // Vertical instead of horizontal sliding.
    void SetVerticalDirection(bool bVertical) { m_bVertical = bVertical; }

private:
    void StopAnimation();

    bool m_bVertical = false;
    int m_iFrame = -1;  // -1: not sliding
    int m_iDirection = 1;
    static constexpr int kFrames = 12;
    static constexpr int kFrameMs = 15;
    static constexpr UINT_PTR kTimerId = 0x7A01;
};

}  // namespace UiLib

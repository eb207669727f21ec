#pragma once

// CAnimationTabLayoutUI: a tab layout that slides the newly selected page in from the side.

#include "uilib/controls/TabLayout.h"

namespace UiLib {

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

#pragma once

// COptionUI: a button that stays selected; options of one group form a radio group.

#include "uilib/controls/Button.h"

namespace UiLib {

class COptionUI : public CButtonUI {
public:
    COptionUI();
    ~COptionUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;

    LPCTSTR GetSelectedImage() const { return m_sSelectedImage; }
    void SetSelectedImage(LPCTSTR pStrImage);
    LPCTSTR GetSelectedHotImage() const { return m_sSelectedHotImage; }
    void SetSelectedHotImage(LPCTSTR pStrImage);
    void SetSelectedTextColor(DWORD dwTextColor);
    DWORD GetSelectedTextColor() const { return m_dwSelectedTextColor; }
    void SetSelectedBkColor(DWORD dwBkColor);
    DWORD GetSelectBkColor() const { return m_dwSelectedBkColor; }

    LPCTSTR GetGroup() const { return m_sGroupName; }
    // Joins a radio group (an empty name leaves it); selecting one option of a group
    // deselects the others of the window.
    void SetGroup(LPCTSTR pStrGroupName = nullptr);
    bool IsSelected() const { return m_bSelected; }
    // Sends "selectchanged" for every option whose state changed (the deselected ones
    // of the group first).
    virtual void Selected(bool bSelected, bool bTriggerEvent = true);

    SIZE EstimateSize(SIZE szAvailable) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintBkColor(HDC hDC) override;

protected:
    DWORD CurrentTextColor() const override;

    bool m_bSelected = false;
    CDuiString m_sGroupName;
    DWORD m_dwSelectedBkColor = 0;
    DWORD m_dwSelectedTextColor = 0;
    CDuiString m_sSelectedImage;
    CDuiString m_sSelectedHotImage;
};

}  // namespace UiLib

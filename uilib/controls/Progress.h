#pragma once

// CProgressUI: a horizontal progress bar.

#include "uilib/controls/Label.h"

namespace UiLib {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int nMin);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int nMax);
    int GetValue() const;
    // Clamped to the range. Safe from a worker thread: the change is then made on the
    // user-interface thread. Sends "valuechanged" when the value changes.
    void SetValue(int nValue);
    LPCTSTR GetForeImage() const { return m_sForeImage; }
    void SetForeImage(LPCTSTR pStrImage);
    void SetForeColor(DWORD dwColor);

    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

protected:
    void ApplyValue(int nValue);

    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    DWORD m_dwForeColor = 0;
    CDuiString m_sForeImage;
};

}  // namespace UiLib

#pragma once

// CLabelUI: one line of text.

#include "uilib/core/Control.h"

namespace UiLib {

class CLabelUI : public CControlUI {
public:
    CLabelUI();

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    // The colour while the pointer is over the control (buttons and labels alike).
    void SetHotTextColor(DWORD dwColor);
    DWORD GetHotTextColor() const { return m_dwHotTextColor; }
    // Font id of the window's fonts; -1 = the window's default font.
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const { return m_bShowHtml; }
    // With HTML text on, the text carries the inline markup {f n}, {c #AARRGGBB}, {b}, {n}.
    void SetShowHtml(bool bShowHtml = true);

    SIZE EstimateSize(SIZE szAvailable) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintText(HDC hDC) override;

protected:
    // The text colour for the current state.
    virtual DWORD CurrentTextColor() const;

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    DWORD m_dwHotTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle;
    RECT m_rcTextPadding;
    bool m_bShowHtml = false;
    bool m_bHot = false;
};

}  // namespace UiLib

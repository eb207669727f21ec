#pragma once

// CEditUI: one-line text input. While it has the focus a native line edit sits on it,
// so input methods (Chinese) work; Enter sends "return".

#include <memory>

#include "uilib/controls/Label.h"

namespace UiLib {

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetText(LPCTSTR pstrText) override;
    void SetEnabled(bool bEnable = true) override;
    void SetMaxChar(UINT uMax);
    UINT GetMaxChar() const { return m_uMaxChar; }
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetPasswordMode(bool bPasswordMode);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetNativeEditBkColor(DWORD dwBkColor) { m_dwEditBkColor = dwBkColor; }

    void SetNormalImage(LPCTSTR pStrImage);
    void SetHotImage(LPCTSTR pStrImage);
    void SetFocusedImage(LPCTSTR pStrImage);
    void SetDisabledImage(LPCTSTR pStrImage);

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    bool HasFocusedLook() const override;
    void PaintText(HDC hDC) override;

    // Used by the native editor: a change of its text, Enter, and its own focus loss.
    void OnNativeTextChanged(const std::wstring& text);
    void OnNativeReturn();

private:
    void ShowNativeEditor(bool show);
    void ApplyEditorState();

    struct Native;
    std::unique_ptr<Native> m_native;
    UINT m_uMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPasswordMode = false;
    DWORD m_dwEditBkColor = 0xFFFFFFFF;
    UINT m_uButtonState = 0;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
};

}  // namespace UiLib

#pragma once

// CControlUI: the base of every windowless control.

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "uilib/core/Accessible.h"
#include "uilib/core/Defines.h"

namespace UiLib {

class CPaintManagerUI;
namespace detail {
class InputRouter;
}

using FINDCONTROLPROC = CControlUI* (*)(CControlUI*, LPVOID);

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual CDuiString GetName() const;
    virtual void SetName(LPCTSTR pstrName);
    // The class name ("ControlUI", "ButtonUI", …).
    virtual LPCTSTR GetClass() const;
    // This control as the named interface ("Control", "Button", "Container", …), or
    // null. Names compare without regard to case.
    virtual LPVOID GetInterface(LPCTSTR pstrName);
    virtual UINT GetControlFlags() const;

    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;

    // Text.
    virtual CDuiString GetText() const;
    // Safe from a worker thread: the change is then made on the user-interface thread.
    virtual void SetText(LPCTSTR pstrText);

    // Appearance.
    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD dwBackColor);
    LPCTSTR GetBkImage() const { return m_sBkImage; }
    void SetBkImage(LPCTSTR pStrImage);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD dwBorderColor);
    DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(DWORD dwBorderColor);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int nSize);
    RECT GetBorderRect() const { return m_rcBorderSize; }
    void SetBorderRect(RECT rc);
    SIZE GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(SIZE cxyRound);

    // Position: the rectangle in the window's client coordinates after layout.
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    // With float, the position relative to the parent's top-left corner.
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);

    // Texts of every control.
    virtual CDuiString GetToolTip() const;
    virtual void SetToolTip(LPCTSTR pstrText);
    virtual const CDuiString& GetUserData() const;
    virtual void SetUserData(LPCTSTR pstrText);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR pTag);

    // State.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    // Hidden by its parent (a tab layout showing another page), whatever SetVisible said.
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

    // What a screen reader is told about the control: its role (from its kind), its
    // name (its text without markup, else its tooltip), a description (the tooltip when
    // the text already names it), a value and its state. A control with more to say
    // overrides this and amends the base's answer.
    virtual AccessInfo DescribeForAccessibility();
    // The control's number for assistive technology; never reused in the process.
    AccessId GetAccessId() const { return m_accessId; }

    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate();
    void NeedParentUpdate();

    virtual void Init();
    virtual void DoInit();

    void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    // Applies one layout attribute; unknown names are ignored.
    virtual void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue);
    // Applies a list in the form name="value" name="value" (quotes " or ').
    void SetAttributeList(LPCTSTR pstrList);

    // The size the control asks for inside an available area; 0 = no wish.
    virtual SIZE EstimateSize(SIZE szAvailable);

    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    // The keyboard focus ring of a focused tab stop that has no focused look of its own:
    // two teal pixels inside its edge, with a white line inside them so that the ring
    // shows on dark and light ground alike.
    virtual void PaintFocusRing(HDC hDC);
    // Whether the control shows its focus itself (a focused image or focus border), so
    // the framework draws no ring.
    virtual bool HasFocusedLook() const;
    // The ring, when the control has the focus and wants one.
    void PaintFocusRingIfFocused(HDC hDC);

    // Draws an image string (see CRenderEngine::DrawImageString) into this control.
    bool DrawImage(HDC hDC, LPCTSTR pStrImage, LPCTSTR pStrModify = nullptr);

protected:
    friend class CPaintManagerUI;
    friend class detail::InputRouter;
    // Readers of attribute values for SetAttribute of derived controls: "#AARRGGBB" or
    // "#RRGGBB" (0 for anything else), "l,t,r,b", "cx,cy", "true" (any letter case),
    // and the leading decimal number.
    static DWORD ParseColor(LPCTSTR value);
    static RECT ParseRect(LPCTSTR value);
    static SIZE ParseSize(LPCTSTR value);
    static bool ParseBool(LPCTSTR value);
    static int ParseInt(LPCTSTR value);

    // Runs `fn` on the user-interface thread: now when called there, else queued; it
    // is dropped when the control is gone by then.
    template <typename Fn>
    void RunOnUiThread(Fn&& fn);
    static bool IsUiThread();
    static void PostToUiThread(std::weak_ptr<int> life, void (*fn)(void*), void* arg,
                               void (*release)(void*));

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CDuiString m_sName;
    bool m_bUpdateNeeded = true;
    bool m_bMenuUsed = false;
    RECT m_rcItem;
    RECT m_rcPadding;
    SIZE m_cXY;
    SIZE m_cxyFixed;
    SIZE m_cxyMin;
    SIZE m_cxyMax;
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bSetPos = false;

    CDuiString m_sText;
    CDuiString m_sToolTip;
    CDuiString m_sUserData;
    UINT_PTR m_pTag = 0;

    DWORD m_dwBackColor = 0;
    CDuiString m_sBkImage;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    int m_nBorderSize = 0;
    RECT m_rcBorderSize;
    SIZE m_cxyBorderRound;
    RECT m_rcPaint;

    std::shared_ptr<int> m_life;
    AccessId m_accessId;
};

template <typename Fn>
void CControlUI::RunOnUiThread(Fn&& fn) {
    if (IsUiThread()) {
        fn();
        return;
    }
    using F = std::decay_t<Fn>;
    auto boxed = std::make_unique<F>(std::forward<Fn>(fn));
    PostToUiThread(
        m_life, [](void* p) { (*static_cast<F*>(p))(); }, boxed.release(),
        [](void* p) { delete static_cast<F*>(p); });
}

}  // namespace UiLib

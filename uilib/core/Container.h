#pragma once

// Containers: controls that own and place child controls.

#include <memory>
#include <vector>

#include "uilib/core/Control.h"

namespace UiLib {

class IContainerUI {
public:
    virtual CControlUI* GetItemAt(int iIndex) const = 0;
    virtual int GetItemIndex(CControlUI* pControl) const = 0;
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
    virtual bool Remove(CControlUI* pControl) = 0;
    virtual bool RemoveAt(int iIndex) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

// A container owns its children: Add takes ownership, Remove and RemoveAll destroy
// them (once the event being handled has finished, so a control may remove itself
// from its own click handler). Children are stacked on the whole client area.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;
    bool Add(std::unique_ptr<CControlUI> control) { return Add(control.release()); }
    bool AddAt(std::unique_ptr<CControlUI> control, int iIndex) {
        return AddAt(control.release(), iIndex);
    }
    // Takes a child out without destroying it; the caller owns it afterwards.
    CControlUI* Detach(CControlUI* pControl);

    // Whether removed children are destroyed (default true).
    void SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }
    bool IsAutoDestroy() const { return m_bAutoDestroy; }
    // Whether destruction waits until the current event has been handled (default true).
    void SetDelayedDestroy(bool bDelayed) { m_bDelayedDestroy = bDelayed; }
    bool IsDelayedDestroy() const { return m_bDelayedDestroy; }

    virtual RECT GetInset() const { return m_rcInset; }
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const { return m_iChildPadding; }
    virtual void SetChildPadding(int iPadding);
    virtual bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    virtual void SetMouseChildEnabled(bool bEnable = true) { m_bMouseChildEnabled = bEnable; }

    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;

    // The first control of the subtree (this container excluded) with the name.
    CControlUI* FindSubControl(LPCTSTR pstrSubControlName);

    // Vertical scrolling of the content (used by lists); 0 = top.
    int GetScrollOffset() const { return m_iScrollOffset; }
    virtual void SetScrollOffset(int offset);

protected:
    // Places a floating child by its fixed position relative to this container.
    void SetFloatPos(int iIndex);
    void ReleaseChild(CControlUI* pControl);

    std::vector<CControlUI*> m_items;
    RECT m_rcInset;
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
    int m_iScrollOffset = 0;
    int m_iScrollRange = 0;
};

}  // namespace UiLib

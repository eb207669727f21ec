#pragma once

// CWindowWnd: one native window with a Win32-style window procedure.

#include <memory>

#include "uilib/core/DuiString.h"
#include "uilib/core/Win32Api.h"

namespace UiLib {

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }  // NOLINT

    // Creates the window and runs WM_CREATE before returning. A window without WS_CHILD
    // is a top-level window; hwndParent is then its owner (modal dialogs disable it).
    // CW_USEDEFAULT position or size leave the choice to the framework (the layout's
    // size). Returns null when WM_CREATE answered -1.
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT rc,
                HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);

    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    // Shows the window, disables its owner and runs a nested message loop until the
    // window is destroyed; returns the code given to Close (0 when closed otherwise).
    UINT ShowModal();
    // Posts WM_CLOSE with wParam = nRet and lParam 0.
    void Close(UINT nRet = IDOK);
    // Centres over the owner when it is visible, else over the work area.
    void CenterWindow();
    void SetIcon(UINT nRes);
    void ResizeClient(int cx = -1, int cy = -1);

    LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(uMsg, wParam, lParam);
    }
    LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return PostMessageW(uMsg, wParam, lParam);
    }

    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    void SetStyle(DWORD dwStyle);

    // The window procedure. The default handles WM_CLOSE (destroys the window),
    // WM_NCLBUTTONDOWN with HTCAPTION (starts a drag) and answers 0 otherwise.
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

    // The class name other processes find the window by (with its title).
    virtual LPCTSTR GetWindowClassName() const = 0;
    virtual LPCTSTR GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return 0; }

protected:
    // Runs after the window is gone (WM_NCDESTROY); a window object allocated for its
    // window's lifetime may delete itself here.
    virtual void OnFinalMessage(HWND hWnd);

    HWND m_hWnd = nullptr;

public:
    struct Impl;
    Impl* GetImpl() const { return m_impl.get(); }

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace UiLib

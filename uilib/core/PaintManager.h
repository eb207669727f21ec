#pragma once

// CPaintManagerUI: the process-wide resources of the framework (instance, skin archive,
// message loop) and, per window, its control tree, fonts, defaults, focus, hot control,
// timers and notifications. The window's input reaches its controls through
// MessageHandler.

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "uilib/core/Control.h"
#include "uilib/core/FontInfo.h"
#include "uilib/core/TrayIcon.h"

namespace UiLib {

namespace detail {
class InputRouter;
}

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // ---- Process-wide ----
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();
    // The executable's folder with a trailing "/".
    static CDuiString GetInstancePath();
    static CDuiString GetCurrentPath();
    // The folder layouts and images are read from when no archive is set; a trailing
    // "/" is added.
    static void SetResourcePath(LPCTSTR pStrPath);
    static const CDuiString& GetResourcePath();
    // The skin archive: a zip file (a relative name is taken below the resource path),
    // or zip bytes in memory (copied). Entries are read on demand and cached.
    static void SetResourceZip(LPCTSTR pstrZip, bool bCachedResourceZip = false);
    static void SetResourceZip(const void* pData, std::size_t size);
    static CDuiString GetResourceZip();
    static bool IsCachedResourceZip();
    // Reads a skin file (archive first, then the resource folder, then an absolute path).
    static bool LoadResourceFile(LPCTSTR pstrName, std::string* bytes);
    // Runs the message loop until the quit message; returns its exit code.
    static int MessageLoop();
    static void Term();

    // ---- Per window ----
    void Init(HWND hWnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }

    SIZE GetInitSize() const { return m_szInitWindowSize; }
    // The window's initial client size; applied to the window while it has no layout.
    void SetInitSize(int cx, int cy);
    SIZE GetClientSize() const;
    RECT GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(RECT& rcCaption);
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy);
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy);
    RECT GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(RECT& rcSizeBox);
    void SetTransparent(int nOpacity);

    // Fonts by id. A family that is not installed falls back to the CJK font.
    void AddFont(int id, LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic,
                 bool bDefault = false);
    bool HasFont(int id) const;
    // The font of an id; -1 or an unknown id gives the default font.
    const TFontInfo& GetFontInfo(int id) const;
    void SetDefaultFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    const TFontInfo& GetDefaultFontInfo() const;

    // Attribute lists applied to every control of a class before its own attributes.
    void AddDefaultAttributeList(LPCTSTR pStrControlName, LPCTSTR pStrControlAttrList);
    LPCTSTR GetDefaultAttributeList(LPCTSTR pStrControlName) const;
    bool RemoveDefaultAttributeList(LPCTSTR pStrControlName);
    void RemoveAllDefaultAttributeList();
    // Fonts and defaults not found here are looked up in the parent's (sub-windows such
    // as popup menus share their owner's resources).
    void UseParentResource(CPaintManagerUI* pm);
    CPaintManagerUI* GetParentResource() const { return m_pParentResourcePM; }

    bool AddOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl);
    std::vector<CControlUI*>* GetOptionGroup(LPCTSTR pStrGroupName);
    void RemoveOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    // Makes pControl the window's root (the manager owns it from now on).
    bool AttachDialog(CControlUI* pControl);
    // Called when a subtree joins the window: sets the manager of every control in it.
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    // Called when a subtree leaves the window: forgets every reference to it.
    void ReapObjects(CControlUI* pControl);
    // Destroys the control once the current event has been handled.
    void AddDelayedCleanup(CControlUI* pControl);

    CControlUI* GetRoot() const { return m_pRoot; }
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(LPCTSTR pstrName) const;
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, LPCTSTR pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, LPCTSTR pstrClass, int iIndex = 0);
    std::vector<CControlUI*> FindSubControlsByClass(CControlUI* pParent, LPCTSTR pstrClass);

    CControlUI* GetFocus() const { return m_pFocus; }
    // Moves the focus; sends "killfocus" to the old and "setfocus" to the new control.
    void SetFocus(CControlUI* pControl);
    CControlUI* GetHotControl() const { return m_pEventHover; }

    // Control timers (separate from the window's WM_TIMER ids): UIEVENT_TIMER events.
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_bMouseCapture; }

    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    void SendNotify(TNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);

    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);

    // The window's default handling of input, size and focus messages for its controls.
    // True when the message was handled (also when the window went away while a
    // control handled it: then nothing of the window may be touched any more).
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    void Invalidate();
    void Invalidate(const RECT& rcItem);
    void NeedUpdate() { m_bUpdateNeeded = true; }
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    // Lays out what changed since the last layout (done before painting and before
    // mouse input anyway).
    void UpdateLayout();
    // Paints the control tree on hDC (the window does this itself when exposed).
    void RenderTo(HDC hDC, const RECT& rcPaint);

    CTrayIcon& GetTrayObject() { return m_trayIcon; }

private:
    friend class detail::InputRouter;
    // Delivers an event to a control; false when the manager went away meanwhile.
    bool DispatchEvent(CControlUI* pControl, TEventUI event);
    void ApplyWindowShape();
    void RunDelayedCleanup();

    HWND m_hWndPaint = nullptr;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    bool m_bMouseCapture = false;
    bool m_bUpdateNeeded = false;
    bool m_bCleanupPosted = false;
    bool m_bDestroying = false;
    POINT m_ptLastMousePos;

    SIZE m_szInitWindowSize;
    SIZE m_szMinWindow;
    SIZE m_szMaxWindow;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;
    RECT m_rcSizeBox;
    int m_nOpacity = 255;

    std::map<int, TFontInfo> m_fonts;
    int m_iDefaultFont = -1;
    TFontInfo m_defaultFont;
    bool m_bHasDefaultFont = false;
    std::unordered_map<std::wstring, std::wstring> m_defaultAttrs;
    CPaintManagerUI* m_pParentResourcePM = nullptr;

    std::unordered_map<std::wstring, std::vector<CControlUI*>> m_optionGroups;
    mutable std::unordered_map<std::wstring, CControlUI*> m_nameCache;
    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_filters;
    std::vector<CControlUI*> m_delayedCleanup;

    struct Timers;
    std::unique_ptr<Timers> m_timers;
    std::shared_ptr<int> m_life;
    CTrayIcon m_trayIcon;
};

}  // namespace UiLib

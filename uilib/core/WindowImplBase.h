#pragma once

// WindowImplBase: a window whose content is a skin layout.

#include "uilib/core/DialogBuilder.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/WindowWnd.h"

namespace UiLib {

enum UILIB_RESOURCETYPE {
    UILIB_FILE = 1,         // layouts from the resource folder or the process's archive
    UILIB_ZIP = 2,          // the archive GetZIPFileName() below the resource folder
    UILIB_RESOURCE = 3,     // same as UILIB_FILE here
    UILIB_ZIPRESOURCE = 4,  // archive bytes registered as resource "ZIPRES"/GetResourceID()
};

class WindowImplBase : public CWindowWnd,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    // The overridable operations, in the order of the original framework's slots.
    LPCTSTR GetWindowClassName() const override = 0;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // Runs once the layout has been loaded and attached.
    virtual void InitWindow() {}
    virtual CDuiString GetSkinFolder() { return CDuiString(); }
    virtual CDuiString GetSkinFile() = 0;
    virtual UILIB_RESOURCETYPE GetResourceType() const { return UILIB_FILE; }
    virtual LPCTSTR GetResourceID() const { return nullptr; }
    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Loads the layout (GetSkinFile), applies the window's size and shape, registers
    // for notifications and calls InitWindow.
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // The default handling: a "click" on a control named "closebtn" closes the window
    // (WM_CLOSE with lParam 0).
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(LPCTSTR pstrClass) override { return nullptr; }

    virtual CDuiString GetZIPFileName() const { return CDuiString(); }
    // Sees every message before the controls; a key press goes to
    // ResponseDefaultKeyEvent first.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    // A key (VK_*) the window answers itself, before the focused control; non-zero when
    // handled. The default: Escape presses a usable "btnCancel", else a usable
    // "closebtn", so a dialog is cancelled as its cancel button would; other keys go on.
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual void OnClick(TNotifyUI& msg);

    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

protected:
    CPaintManagerUI m_PaintManager;
};

}  // namespace UiLib

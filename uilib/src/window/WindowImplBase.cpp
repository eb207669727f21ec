#include "uilib/core/WindowImplBase.h"

#include "uilib/src/resources/ResourceStore.h"

namespace UiLib {

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lRes = 0;
    BOOL bHandled = TRUE;
    switch (uMsg) {
        case WM_CREATE:
            lRes = OnCreate(uMsg, wParam, lParam, bHandled);
            break;
        case WM_CLOSE:
            lRes = OnClose(uMsg, wParam, lParam, bHandled);
            break;
        case WM_DESTROY:
            lRes = OnDestroy(uMsg, wParam, lParam, bHandled);
            break;
        case WM_MOUSEWHEEL:
            lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled);
            break;
        case WM_MOUSEHOVER:
            lRes = OnMouseHover(uMsg, wParam, lParam, bHandled);
            break;
        default:
            bHandled = FALSE;
            break;
    }
    if (bHandled) return lRes;
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) return lRes;
    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) {
    bHandled = uMsg == WM_KEYDOWN && ResponseDefaultKeyEvent(wParam) != 0;
    return 0;
}

namespace {
// Shown and enabled along the whole way up.
bool IsUsable(const CControlUI* control) {
    for (const CControlUI* c = control; c; c = c->GetParent()) {
        if (!c->IsVisible() || !c->IsEnabled()) return false;
    }
    return control != nullptr;
}
}  // namespace

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam) {
    if (wParam != VK_ESCAPE) return FALSE;
    for (LPCTSTR name : {L"btnCancel", L"closebtn"}) {
        CControlUI* control = m_PaintManager.FindControl(name);
        if (IsUsable(control)) {
            control->Activate();
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    m_PaintManager.Init(m_hWnd);
    m_PaintManager.AddMessageFilter(this);

    switch (GetResourceType()) {
        case UILIB_ZIPRESOURCE: {
            LPCTSTR id = GetResourceID();
            const void* data = nullptr;
            std::size_t size = 0;
            if (id && IS_INTRESOURCE(id) &&
                FindResourceData(L"ZIPRES", static_cast<UINT>(reinterpret_cast<std::uintptr_t>(id)),
                                 &data, &size)) {
                // Opened once; every window of the process reads the same archive.
                if (CPaintManagerUI::GetResourceZip() != L"<memory>" || !detail::HasArchive()) {
                    CPaintManagerUI::SetResourceZip(data, size);
                }
            }
            break;
        }
        case UILIB_ZIP: {
            const CDuiString folder = GetSkinFolder();
            if (!folder.IsEmpty())
                CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + folder);
            const CDuiString zip = GetZIPFileName();
            if (!zip.IsEmpty() && CPaintManagerUI::GetResourceZip() != zip) {
                CPaintManagerUI::SetResourceZip(zip, true);
            }
            break;
        }
        default:
            // Layouts come from the process's archive when one is set, else from the
            // window's skin folder below the installation folder.
            if (!detail::HasArchive()) {
                const CDuiString folder = GetSkinFolder();
                if (!folder.IsEmpty()) {
                    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + folder);
                }
            }
            break;
    }

    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), nullptr, this, &m_PaintManager);
    if (root) {
        m_PaintManager.AttachDialog(root);
    } else {
        std::fprintf(stderr, "UiLib: %ls: %ls\n", GetSkinFile().GetData(),
                     builder.GetLastErrorMessage().GetData());
    }
    m_PaintManager.AddNotifier(this);
    const SIZE init = m_PaintManager.GetInitSize();
    if (init.cx > 0 && init.cy > 0) ResizeClient(init.cx, init.cy);
    InitWindow();
    return 0;
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
    if (msg.pSender && msg.pSender->GetName() == L"closebtn") Close(IDOK);
}

}  // namespace UiLib

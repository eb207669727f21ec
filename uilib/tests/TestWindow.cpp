#include "TestWindow.h"

namespace uilibtest {

void UseTestArchive() {
    const std::wstring zip = Utf8ToWide(UILIB_TEST_ZIP);
    if (CPaintManagerUI::GetResourceZip().str() == zip) return;
    CPaintManagerUI::SetResourcePath(L"/nonexistent-resource-folder");
    CPaintManagerUI::SetResourceZip(zip.c_str());
}

HWND TestWindow::Make(HWND owner, bool visible, DWORD exStyle) {
    UseTestArchive();
    return Create(owner, L"测试窗口",
                  WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0),
                  exStyle);
}

void TestWindow::Notify(TNotifyUI& msg) {
    notes.push_back(
        Note{msg.sType.str(), msg.pSender ? msg.pSender->GetName().str() : std::wstring()});
    if (onNotify) onNotify(msg);
    WindowImplBase::Notify(msg);
}

CControlUI* TestWindow::CreateControl(LPCTSTR cls) {
    if (EqualsNoCase(cls, L"Fancy")) return new CFancyUI;
    return nullptr;
}

LRESULT TestWindow::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    messages.push_back(Message{msg, wParam, lParam});
    if (onMessage) onMessage(msg, wParam, lParam);
    bHandled = FALSE;
    return 0;
}

LRESULT TestWindow::OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    closeParams.push_back(lParam);
    if (hideOnClose && lParam != 2) {
        ShowWindow(false);
        return 0;  // consumed
    }
    return WindowImplBase::OnClose(msg, wParam, lParam, bHandled);
}

LRESULT TestWindow::OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    ++destroyCount;
    return WindowImplBase::OnDestroy(msg, wParam, lParam, bHandled);
}

LRESULT TestWindow::OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    wheels.push_back(wParam);
    return WindowImplBase::OnMouseWheel(msg, wParam, lParam, bHandled);
}

LRESULT TestWindow::OnMouseHover(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    hovers.push_back(lParam);
    return WindowImplBase::OnMouseHover(msg, wParam, lParam, bHandled);
}

std::vector<std::wstring> TestWindow::NoteTypesOf(const std::wstring& sender) const {
    std::vector<std::wstring> out;
    for (const Note& n : notes) {
        if (n.sender == sender) out.push_back(n.type);
    }
    return out;
}

}  // namespace uilibtest

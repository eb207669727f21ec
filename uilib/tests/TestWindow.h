#pragma once

// A framework window built from one of the test layouts that records what reaches it.

#include <functional>
#include <string>
#include <vector>

#include "uilib/UiLib.h"
#include "uilib/testing/UiTestDriver.h"

namespace uilibtest {

using namespace UiLib;

// Points the process's skin at the test archive (idempotent).
void UseTestArchive();

struct Note {
    std::wstring type;
    std::wstring sender;
};

struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A custom control class for the builder callback: counts its attribute "shade".
class CFancyUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override { return L"FancyUI"; }
    LPVOID GetInterface(LPCTSTR name) override {
        if (EqualsNoCase(name, L"Fancy")) return this;
        return CContainerUI::GetInterface(name);
    }
    void SetAttribute(LPCTSTR name, LPCTSTR value) override {
        if (std::wstring(name) == L"shade") {
            shade = ParseInt(value);
            return;
        }
        CContainerUI::SetAttribute(name, value);
    }
    int shade = 0;
};

class TestWindow : public WindowImplBase {
public:
    explicit TestWindow(std::wstring skin, std::wstring cls = L"UiLibTestWnd")
        : skin_(std::move(skin)), cls_(std::move(cls)) {}

    // Creates the window (hidden unless `visible`).
    HWND Make(HWND owner = nullptr, bool visible = false, DWORD exStyle = 0);

    LPCTSTR GetWindowClassName() const override { return cls_.c_str(); }
    CDuiString GetSkinFile() override { return skin_; }
    void InitWindow() override { ++initCount; }
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(LPCTSTR cls) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseHover(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

    CPaintManagerUI& Pm() { return m_PaintManager; }
    template <typename T>
    T* Get(LPCTSTR name) {
        CControlUI* c = m_PaintManager.FindControl(name);
        return c ? dynamic_cast<T*>(c) : nullptr;
    }
    std::vector<std::wstring> NoteTypesOf(const std::wstring& sender) const;

    std::vector<Note> notes;
    std::vector<Message> messages;
    std::vector<LPARAM> closeParams;
    std::vector<WPARAM> wheels;
    std::vector<LPARAM> hovers;
    int initCount = 0;
    int destroyCount = 0;
    bool hideOnClose = false;  // consume WM_CLOSE unless lParam is 2
    std::function<void(TNotifyUI&)> onNotify;
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;

private:
    std::wstring skin_;
    std::wstring cls_;
};

}  // namespace uilibtest

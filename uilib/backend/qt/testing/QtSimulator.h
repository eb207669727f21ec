#pragma once

// QtSimulator: a person's input to the Qt backend's windows, as Qt events sent to the
// window's widget (and to its line edit), so that it takes the same path as real input.

#include "uilib/testing/Simulator.h"

namespace UiLib::qt {

class QtSimulator final : public testing::Simulator {
public:
    bool MoveTo(HWND hWnd, POINT client) override;
    bool Button(HWND hWnd, POINT client, backend::MouseAction action,
                backend::MouseButton button) override;
    bool DragBy(HWND hWnd, int dx, int dy) override;
    bool Wheel(HWND hWnd, POINT client, int delta) override;
    bool Leave(HWND hWnd) override;
    bool Key(HWND hWnd, UINT vk, WPARAM modifiers) override;
    bool CommitText(HWND hWnd, const std::wstring& text) override;
};

}  // namespace UiLib::qt

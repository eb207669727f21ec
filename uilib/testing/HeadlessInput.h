#pragma once

// HeadlessInput: a person's input to the headless windows, reported to the framework
// the way a desktop reports it.

#include <memory>

#include "uilib/testing/HeadlessWindow.h"
#include "uilib/testing/Simulator.h"

namespace UiLib::testing {

class HeadlessInput final : public Simulator {
public:
    explicit HeadlessInput(std::shared_ptr<HeadlessDesktop> desktop);

    bool MoveTo(HWND hWnd, POINT client) override;
    bool Button(HWND hWnd, POINT client, backend::MouseAction action,
                backend::MouseButton button) override;
    bool DragBy(HWND hWnd, int dx, int dy) override;
    bool Wheel(HWND hWnd, POINT client, int delta) override;
    bool Leave(HWND hWnd) override;
    bool Key(HWND hWnd, UINT vk, WPARAM modifiers) override;
    bool CommitText(HWND hWnd, const std::wstring& text) override;

private:
    // The headless window of a handle (null when gone or not headless).
    HeadlessWindow* WindowOf(HWND hWnd) const;
    POINT ToScreen(HeadlessWindow& window, POINT client) const;

    std::shared_ptr<HeadlessDesktop> desktop_;
};

}  // namespace UiLib::testing

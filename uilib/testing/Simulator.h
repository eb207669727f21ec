#pragma once

// Simulator: what a person does to the windows, as the test driver needs it. Each
// backend's test support implements it so that the input takes the backend's own path
// (Qt events on the window's widget, or the headless windows' reports).

#include <string>

#include "uilib/src/Backend.h"

namespace UiLib::testing {

class Simulator {
public:
    virtual ~Simulator() = default;
    // Moves the pointer onto a point of the window (client coordinates).
    virtual bool MoveTo(HWND hWnd, POINT client) = 0;
    // Presses, releases or double-clicks a button at a point of the window.
    virtual bool Button(HWND hWnd, POINT client, backend::MouseAction action,
                        backend::MouseButton button) = 0;
    // With the left button held since a press, moves the pointer by (dx, dy) on the
    // screen and releases the button there.
    virtual bool DragBy(HWND hWnd, int dx, int dy) = 0;
    // Turns the wheel at a point (Win32 units: 120 per notch, positive away).
    virtual bool Wheel(HWND hWnd, POINT client, int delta) = 0;
    // The pointer leaves the window.
    virtual bool Leave(HWND hWnd) = 0;
    // Presses and releases a key (VK_*) on whatever has the keyboard focus in the window,
    // with modifiers (MK_SHIFT, MK_CONTROL) held.
    virtual bool Key(HWND hWnd, UINT vk, WPARAM modifiers) = 0;
    // Types text into the window's shown line edit as an input method commits it; false
    // when no line edit is shown.
    virtual bool CommitText(HWND hWnd, const std::wstring& text) = 0;
};

}  // namespace UiLib::testing

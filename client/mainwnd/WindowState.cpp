#include "client/mainwnd/WindowState.h"

#include <atomic>

// Both values are read from worker threads (the search worker and the list download
// address the window by its handle), so they live in atomics.
namespace {
std::atomic<UiLib::HWND> g_mainWindow{nullptr};
std::atomic<UiLib::HWND> g_floatingWindow{nullptr};
std::atomic<bool> g_animationEnabled{true};
}  // namespace

UiLib::HWND MainWindowHandle() {
    return g_mainWindow.load();
}

void SetMainWindowHandle(UiLib::HWND hwnd) {
    g_mainWindow.store(hwnd);
}

UiLib::HWND FloatingWindowHandle() {
    return g_floatingWindow.load();
}

void SetFloatingWindowHandle(UiLib::HWND hwnd) {
    g_floatingWindow.store(hwnd);
}

bool AnimationEnabled() {
    return g_animationEnabled.load();
}

void SetAnimationEnabled(bool enabled) {
    g_animationEnabled.store(enabled);
}

#pragma once

// The main window's title and class name: the single-instance check finds the running
// client's window by them, the window is created with them, and the updater hand-off
// records them so that the updater can find the client it has to end.

inline constexpr const wchar_t* kMainWindowTitle = L"Trovik";
inline constexpr const wchar_t* kMainWindowClass = L"TrovikarClient";

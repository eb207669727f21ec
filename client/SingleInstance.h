#pragma once

// One client per user session: the first instance holds a named mutex for its whole
// life; a later one only brings the running main window to the front and ends.

#include <memory>
#include <string>

#include "platform/NamedMutex.h"

inline constexpr char kSingleInstanceMutex[] = "MUTEX_TROVIK";

// Takes the mutex `mutexName`. Returns it (held) when this is the first instance. When
// another instance holds it, asks that instance's window (found by class and title)
// to show itself and come to the front, and returns null: the caller ends with 0. A
// window that cannot be found (the first instance is still starting) changes nothing.
std::unique_ptr<platform::NamedMutex> ClaimSingleInstance(const std::string& mutexName,
                                                          const std::wstring& windowClass,
                                                          const std::wstring& windowTitle);

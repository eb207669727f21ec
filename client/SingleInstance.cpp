#include "client/SingleInstance.h"

#include "platform/WindowRegistry.h"

std::unique_ptr<platform::NamedMutex> ClaimSingleInstance(const std::string& mutexName,
                                                          const std::wstring& windowClass,
                                                          const std::wstring& windowTitle) {
    auto mutex = std::make_unique<platform::NamedMutex>(mutexName);
    if (!mutex->alreadyExists()) return mutex;
    mutex.reset();
    platform::ShowRegisteredWindow(windowClass, windowTitle);
    return nullptr;
}

#include "uilib/core/ControlFactory.h"

#include <mutex>
#include <string>
#include <unordered_map>

#include "uilib/src/controls/BuiltinControls.h"

namespace UiLib {

namespace {

class Registry {
public:
    Registry() {
        detail::RegisterBuiltinControls([this](LPCTSTR n, ControlFactory f) { Add(n, f); });
    }

    void Add(LPCTSTR name, ControlFactory factory) {
        std::lock_guard<std::mutex> lock(mutex_);
        factories_[name] = factory;
    }

    ControlFactory Find(LPCTSTR name) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = factories_.find(name);
        return it == factories_.end() ? nullptr : it->second;
    }

private:
    std::mutex mutex_;
    std::unordered_map<std::wstring, ControlFactory> factories_;
};

// Process-wide: registrations run while the program starts, before main.
Registry& Classes() {
    static Registry registry;
    return registry;
}

}  // namespace

bool RegisterControlClass(LPCTSTR name, ControlFactory factory) {
    if (!name || !*name || !factory) return false;
    Classes().Add(name, factory);
    return true;
}

std::unique_ptr<CControlUI> CreateRegisteredControl(LPCTSTR name) {
    if (!name) return nullptr;
    const ControlFactory factory = Classes().Find(name);
    return factory ? factory() : nullptr;
}

bool IsControlClassRegistered(LPCTSTR name) {
    return name && Classes().Find(name) != nullptr;
}

}  // namespace UiLib

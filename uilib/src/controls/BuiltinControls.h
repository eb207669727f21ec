#pragma once

// The framework's own control classes, handed to the control registry when it is
// first used (a static library would drop self-registering object files nobody
// references, so the framework lists its classes once, here).

#include <functional>

#include "uilib/core/ControlFactory.h"

namespace UiLib::detail {

void RegisterBuiltinControls(const std::function<void(LPCTSTR, ControlFactory)>& add);

}  // namespace UiLib::detail

#pragma once

// OnUi: runs a function on the user-interface thread and returns its result, directly
// there, waiting for it from any other thread.

#include "uilib/src/dispatch/Dispatch.h"

namespace UiLib::detail {

// `fallback` is the answer when the user-interface thread cannot run f any more.
template <typename R, typename F>
R OnUi(F f, R fallback) {
    if (IsUiThread()) return f();
    R result = fallback;
    RunOnUiBlocking([&] { result = f(); });
    return result;
}

}  // namespace UiLib::detail

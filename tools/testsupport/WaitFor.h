#pragma once

#include <chrono>
#include <thread>

namespace testsupport {

// Polls `condition` until it holds or `deadline` has passed; returns its last value.
// Tests wait for conditions this way, never for a fixed time.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds deadline = std::chrono::seconds(20),
             std::chrono::milliseconds poll = std::chrono::milliseconds(5)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return condition();
        std::this_thread::sleep_for(poll);
    }
}

}  // namespace testsupport

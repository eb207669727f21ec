#include "client/mainwnd/PendingCalls.h"

#include <array>
#include <atomic>
#include <cstddef>

namespace {
std::array<std::atomic<int>, static_cast<std::size_t>(PendingOp::Count)>& Counters() {
    static std::array<std::atomic<int>, static_cast<std::size_t>(PendingOp::Count)> counters{};
    return counters;
}
}  // namespace

void NotePendingCall(PendingOp op) {
    ++Counters()[static_cast<std::size_t>(op)];
}

int PendingCallCount(PendingOp op) {
    return Counters()[static_cast<std::size_t>(op)].load();
}

void ResetPendingCalls() {
    for (auto& counter : Counters()) counter.store(0);
}

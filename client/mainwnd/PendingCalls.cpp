#include "client/mainwnd/PendingCalls.h"

#include <algorithm>
#include <mutex>

namespace {

struct CallLog {
    std::mutex mutex;
    std::vector<PendingOp> calls;
};

CallLog& Log() {
    static CallLog log;
    return log;
}

}  // namespace

void NotePendingCall(PendingOp op) {
    std::lock_guard<std::mutex> lock(Log().mutex);
    // Timer-driven calls would grow the log without end in a long-running client.
    if (Log().calls.size() < 100000) Log().calls.push_back(op);
}

int PendingCallCount(PendingOp op) {
    std::lock_guard<std::mutex> lock(Log().mutex);
    return static_cast<int>(std::count(Log().calls.begin(), Log().calls.end(), op));
}

std::vector<PendingOp> PendingCallLog() {
    std::lock_guard<std::mutex> lock(Log().mutex);
    return Log().calls;
}

void ResetPendingCalls() {
    std::lock_guard<std::mutex> lock(Log().mutex);
    Log().calls.clear();
}

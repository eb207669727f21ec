#pragma once

// HeadlessLoop: the event loop of the headless test backend: a queue of posted tasks
// and timers on the steady clock, run by ProcessPending and RunLoop on the thread that
// made it.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "uilib/src/Backend.h"

namespace UiLib::testing {

class HeadlessLoop {
public:
    HeadlessLoop();
    ~HeadlessLoop();
    HeadlessLoop(const HeadlessLoop&) = delete;
    HeadlessLoop& operator=(const HeadlessLoop&) = delete;

    // Any thread.
    void Post(std::function<void()> task);
    void Wake();
    // Runs the posted tasks (also those they post) and the timers that are due.
    void ProcessPending();
    void RunLoop(const std::function<bool()>& done);
    std::unique_ptr<backend::Timer> CreateTimer(std::function<void()> onTimeout);

private:
    using Clock = std::chrono::steady_clock;
    struct TimerSlot {
        std::function<void()> fire;
        UINT interval = 0;
        Clock::time_point due;
        bool active = false;
    };
    // Shared with the timers, which may outlive the loop.
    struct TimerTable {
        std::map<int, std::shared_ptr<TimerSlot>> slots;
        int next = 1;
    };
    class Timer;

    bool RunPosted();
    bool RunDueTimers();
    // Waits for a post, a wake-up or the next timer, at most `limit`.
    void Wait(std::chrono::milliseconds limit);

    std::mutex mutex_;
    std::condition_variable wakeup_;
    std::deque<std::function<void()>> posted_;
    bool woken_ = false;
    // Timers by id; a slot is shared so that a timer destroyed by its own callback
    // stays whole until the callback returns.
    std::shared_ptr<TimerTable> timers_;
};

}  // namespace UiLib::testing

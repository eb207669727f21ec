#include "uilib/testing/HeadlessLoop.h"

#include <vector>

namespace UiLib::testing {

namespace {
// Posted tasks run by one ProcessPending at most: a task that posts itself again and
// again cannot keep the loop from its timers.
constexpr int kMaxTasksPerPass = 10000;
}  // namespace

class HeadlessLoop::Timer final : public backend::Timer {
public:
    Timer(std::weak_ptr<TimerTable> table, int id, std::shared_ptr<TimerSlot> slot)
        : table_(std::move(table)), id_(id), slot_(std::move(slot)) {}
    ~Timer() override {
        slot_->active = false;
        if (auto table = table_.lock()) table->slots.erase(id_);
    }
    void Start(UINT ms) override {
        slot_->interval = ms;
        slot_->due = Clock::now() + std::chrono::milliseconds(ms);
        slot_->active = true;
    }
    void Stop() override { slot_->active = false; }
    bool IsActive() const override { return slot_->active; }
    UINT Interval() const override { return slot_->interval; }

private:
    std::weak_ptr<TimerTable> table_;
    int id_;
    std::shared_ptr<TimerSlot> slot_;
};

HeadlessLoop::HeadlessLoop() : timers_(std::make_shared<TimerTable>()) {}
HeadlessLoop::~HeadlessLoop() = default;

void HeadlessLoop::Post(std::function<void()> task) {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(task));
    wakeup_.notify_all();
}

void HeadlessLoop::Wake() {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
    wakeup_.notify_all();
}

bool HeadlessLoop::RunPosted() {
    bool ran = false;
    for (int i = 0; i < kMaxTasksPerPass; ++i) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (posted_.empty()) break;
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
        ran = true;
    }
    return ran;
}

bool HeadlessLoop::RunDueTimers() {
    std::vector<std::shared_ptr<TimerSlot>> due;
    const Clock::time_point now = Clock::now();
    for (const auto& [id, slot] : timers_->slots) {
        if (slot->active && slot->due <= now) due.push_back(slot);
    }
    for (const auto& slot : due) {
        // Stopped or destroyed by an earlier callback of this pass: skipped.
        if (!slot->active) continue;
        slot->due = Clock::now() + std::chrono::milliseconds(slot->interval);
        std::function<void()> fire = slot->fire;
        fire();
    }
    return !due.empty();
}

void HeadlessLoop::ProcessPending() {
    RunPosted();
    RunDueTimers();
    RunPosted();
}

void HeadlessLoop::Wait(std::chrono::milliseconds limit) {
    Clock::time_point until = Clock::now() + limit;
    for (const auto& [id, slot] : timers_->slots) {
        if (slot->active && slot->due < until) until = slot->due;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    wakeup_.wait_until(lock, until, [this] { return woken_ || !posted_.empty(); });
    woken_ = false;
}

void HeadlessLoop::RunLoop(const std::function<bool()>& done) {
    while (!done()) {
        ProcessPending();
        if (done()) break;
        Wait(std::chrono::milliseconds(100));
    }
}

std::unique_ptr<backend::Timer> HeadlessLoop::CreateTimer(std::function<void()> onTimeout) {
    auto slot = std::make_shared<TimerSlot>();
    slot->fire = std::move(onTimeout);
    const int id = timers_->next++;
    timers_->slots[id] = slot;
    return std::make_unique<Timer>(timers_, id, std::move(slot));
}

}  // namespace UiLib::testing

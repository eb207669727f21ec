#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// The results of concurrent jobs, one numbered slot per job: jobs put their values in
// any order from any thread; one reader learns which slots have been filled since it
// last asked, waiting up to a deadline, and takes the values out. Shared between the
// reader and the jobs through a shared pointer, so a job that finishes after the reader
// has given up still has somewhere to put its value.
template <typename T>
class Arrivals {
public:
    using Clock = std::chrono::steady_clock;

    explicit Arrivals(std::size_t count) : slots_(count) {}
    Arrivals(const Arrivals&) = delete;
    Arrivals& operator=(const Arrivals&) = delete;

    std::size_t size() const { return slots_.size(); }

    // Fills slot `index` (each job fills its own slot once) and wakes the reader.
    void Put(std::size_t index, T value) {
        {
            std::lock_guard lock(mutex_);
            if (index >= slots_.size() || slots_[index]) return;
            slots_[index] = std::move(value);
            fresh_.push_back(index);
        }
        changed_.notify_all();
    }

    // The slots filled since the last call, in the order they were filled; waits for
    // at least one until `deadline`. Empty when the deadline passed first.
    std::vector<std::size_t> WaitFresh(Clock::time_point deadline) {
        std::unique_lock lock(mutex_);
        changed_.wait_until(lock, deadline, [&] { return !fresh_.empty(); });
        return std::exchange(fresh_, {});
    }

    // Moves the value of slot `index` out; nothing when the slot was never filled.
    std::optional<T> Take(std::size_t index) {
        std::lock_guard lock(mutex_);
        if (index >= slots_.size()) return std::nullopt;
        return std::exchange(slots_[index], std::nullopt);
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<T>> slots_;
    std::vector<std::size_t> fresh_;
};

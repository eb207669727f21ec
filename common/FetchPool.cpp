#include "common/FetchPool.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "common/UrlHost.h"

struct FetchPool::State {
    // The waiting jobs of one host, best first.
    struct Host {
        int running = 0;
        std::map<std::pair<int, std::uint64_t>, Job> waiting;  // (priority, order) -> job
    };

    State(int perHostLimit, int threadLimit)
        : perHost(perHostLimit < 1 ? 1 : perHostLimit),
          maxThreads(threadLimit < 1 ? 1 : threadLimit) {}

    const int perHost;
    const int maxThreads;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::string, Host> hosts;
    std::size_t waiting = 0;  // jobs in all hosts' queues
    std::uint64_t nextOrder = 0;
    int threads = 0;  // threads serving
    int busy = 0;     // of them, running a job
    bool cancelled = false;

    // Jobs that could start now, within their hosts' limits. The mutex is held.
    int Startable() const {
        int count = 0;
        for (const auto& [key, host] : hosts) {
            const int room = perHost - host.running;
            if (room > 0) count += std::min(room, static_cast<int>(host.waiting.size()));
        }
        return count;
    }

    // Takes the job to start next and counts it as running; false when none may start.
    // The mutex is held.
    bool TakeNext(std::string* hostKey, Job* job) {
        Host* best = nullptr;
        const std::string* bestKey = nullptr;
        for (auto& [key, host] : hosts) {
            if (host.waiting.empty() || host.running >= perHost) continue;
            if (!best || host.waiting.begin()->first < best->waiting.begin()->first) {
                best = &host;
                bestKey = &key;
            }
        }
        if (!best) return false;
        *hostKey = *bestKey;
        *job = std::move(best->waiting.begin()->second);
        best->waiting.erase(best->waiting.begin());
        ++best->running;
        --waiting;
        return true;
    }

    void Finished(const std::string& hostKey) {
        auto found = hosts.find(hostKey);
        if (found == hosts.end()) return;
        if (--found->second.running == 0 && found->second.waiting.empty()) hosts.erase(found);
    }

    void DropWaiting() {
        for (auto it = hosts.begin(); it != hosts.end();) {
            it->second.waiting.clear();
            it = it->second.running == 0 ? hosts.erase(it) : std::next(it);
        }
        waiting = 0;
    }

    static void Serve(const std::shared_ptr<State>& self) {
        std::unique_lock lock(self->mutex);
        while (true) {
            std::string hostKey;
            Job job;
            if (self->TakeNext(&hostKey, &job)) {
                ++self->busy;
                lock.unlock();
                try {
                    job();
                } catch (...) {
                    // A failing job is that job's business; the pool serves the others.
                }
                job = nullptr;  // what the job holds goes before the next one starts
                lock.lock();
                --self->busy;
                self->Finished(hostKey);
                self->changed.notify_all();
                continue;
            }
            if (self->waiting == 0) {
                --self->threads;
                return;
            }
            self->changed.wait(lock);
        }
    }
};

FetchPool::FetchPool(int perHost, int maxThreads)
    : state_(std::make_shared<State>(perHost, maxThreads)) {}

FetchPool::~FetchPool() {
    Cancel();
}

void FetchPool::Add(const std::string& url, int priority, Job job) {
    const std::string hostKey = UrlHostKey(url);
    std::unique_lock lock(state_->mutex);
    if (state_->cancelled) return;
    const auto key = std::make_pair(priority, state_->nextOrder++);
    state_->hosts[hostKey].waiting.emplace(key, std::move(job));
    ++state_->waiting;
    // Enough threads free for every job that may start now: a thread that was woken
    // for one job must not stand in for the next as well.
    while (state_->threads - state_->busy < state_->Startable() &&
           state_->threads < state_->maxThreads) {
        ++state_->threads;
        try {
            std::thread(&State::Serve, state_).detach();
        } catch (const std::system_error&) {
            --state_->threads;
            break;
        }
    }
    if (state_->threads > 0) {
        state_->changed.notify_all();
        return;
    }
    // No thread serves the pool: the job runs here, as a plain loop would run it.
    auto& host = state_->hosts[hostKey];
    Job inline_job = std::move(host.waiting.at(key));
    host.waiting.erase(key);
    --state_->waiting;
    if (host.waiting.empty() && host.running == 0) state_->hosts.erase(hostKey);
    lock.unlock();
    inline_job();
}

void FetchPool::Cancel() {
    std::lock_guard lock(state_->mutex);
    state_->cancelled = true;
    state_->DropWaiting();
    state_->changed.notify_all();
}

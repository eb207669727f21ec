#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

// The most requests a search sends to one host at a time (a browser's politeness).
inline constexpr int kRequestsPerHost = 6;
// A whole search, from its start to its last item: what has not arrived by then is
// given up.
inline constexpr std::chrono::milliseconds kSearchDeadline = std::chrono::seconds(30);

// Runs the network jobs of one task (a search's detail pages and posters) on a few
// threads of its own, politely: at most `perHost` jobs at a time for one host
// (UrlHostKey of the job's URL), and of the jobs that may start, always the one with
// the lowest priority number first, ties in the order they were added.
//
// The threads are detached and end once no job is left for them; a job keeps what it
// needs alive itself (by value or shared pointer), because it may outlive the pool:
// destroying the pool, or Cancel, drops the jobs that have not started, while running
// jobs finish on their threads. Every method may be called from any thread, jobs
// included.
class FetchPool {
public:
    using Job = std::function<void()>;

    FetchPool(int perHost, int maxThreads);
    ~FetchPool();
    FetchPool(const FetchPool&) = delete;
    FetchPool& operator=(const FetchPool&) = delete;

    // Queues `job` for the host of `url`. When no thread can be started and none runs,
    // the job runs at once on the calling thread (one at a time, as a plain loop would).
    // After Cancel the job is dropped.
    void Add(const std::string& url, int priority, Job job);

    // Drops the jobs that have not started, now and from now on.
    void Cancel();

private:
    struct State;
    std::shared_ptr<State> state_;
};

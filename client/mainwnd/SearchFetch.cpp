#include "client/mainwnd/SearchFetch.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "client/mainwnd/ResultItem.h"
#include "common/Arrivals.h"

namespace {

std::mutex g_limitsMutex;
SearchLimits g_limits;

// What the jobs report: slot i holds result i's play sources; slot count + i says that
// result i's poster job has ended (it carries no value).
using Board = Arrivals<std::vector<PlaySource>>;

// Jobs of earlier results go first, a result's poster just after its detail page.
int DetailPriority(size_t index) {
    return static_cast<int>(2 * index);
}
int PosterPriority(size_t index) {
    return static_cast<int>(2 * index + 1);
}

// The results as far as they have arrived, and the delivery in order.
class Delivery {
public:
    Delivery(const std::vector<SearchResult>& results,
             const std::function<void(ResultItem&)>& deliver)
        : results_(results),
          deliver_(deliver),
          sources_(results.size()),
          posterEnded_(results.size(), false) {}

    void SourcesArrived(size_t index, std::vector<PlaySource> sources) {
        sources_[index] = std::move(sources);
    }
    void PosterEnded(size_t index) { posterEnded_[index] = true; }
    bool done() const { return next_ >= results_.size(); }
    int delivered() const { return delivered_; }

    // Hands over, in order, every result that is ready; stops at the first that is not.
    // `final`: nothing more will arrive, so a result without sources by now is dropped
    // and one whose poster is missing goes without it.
    void DeliverReady(bool final) {
        while (next_ < results_.size()) {
            std::optional<std::vector<PlaySource>>& sources = sources_[next_];
            if (!sources) {
                if (!final) return;
            } else if (!sources->empty()) {
                if (!posterEnded_[next_] && !final) return;
                ResultItem item{results_[next_], std::move(*sources)};
                deliver_(item);
                ++delivered_;
            }
            // Without play sources a show gets no page.
            ++next_;
        }
    }

private:
    const std::vector<SearchResult>& results_;
    const std::function<void(ResultItem&)>& deliver_;
    std::vector<std::optional<std::vector<PlaySource>>> sources_;
    std::vector<bool> posterEnded_;
    size_t next_ = 0;
    int delivered_ = 0;
};

}  // namespace

SearchLimits CurrentSearchLimits() {
    std::lock_guard lock(g_limitsMutex);
    return g_limits;
}

void SetSearchLimits(const SearchLimits& limits) {
    std::lock_guard lock(g_limitsMutex);
    g_limits = limits;
}

int FetchItemsInOrder(CTrovikMgr& engine, const std::vector<SearchResult>& results,
                      std::chrono::steady_clock::time_point deadline, const SearchLimits& limits,
                      const std::function<void(ResultItem&)>& deliver) {
    const size_t count = results.size();
    // Shared with the jobs: one still running at the deadline keeps its board.
    auto board = std::make_shared<Board>(2 * count);
    // Details and posters may live on two hosts: room for both to use their share.
    FetchPool pool(limits.perHost, 2 * limits.perHost);
    CTrovikMgr* engineObject = &engine;
    for (size_t i = 0; i < count; ++i) {
        pool.Add(
            results[i].detailUrl, DetailPriority(i),
            [engineObject, board, i, url = results[i].detailUrl, category = results[i].category] {
                std::vector<PlaySource> sources;
                engineObject->GetPlaySources(url, &sources, category);
                board->Put(i, std::move(sources));
            });
    }

    Delivery delivery(results, deliver);
    const std::chrono::milliseconds posterDeadline = limits.poster;
    while (!delivery.done()) {
        // After the deadline this returns at once with what came in meanwhile.
        for (const size_t slot : board->WaitFresh(deadline)) {
            if (slot >= count) {
                delivery.PosterEnded(slot - count);
                continue;
            }
            std::vector<PlaySource> sources = board->Take(slot).value_or(std::vector<PlaySource>());
            if (!sources.empty()) {
                // Only a show that gets a page needs its poster.
                const std::string& url = results[slot].posterUrl;
                pool.Add(url, PosterPriority(slot), [board, slot, count, url, posterDeadline] {
                    PosterFile(url, posterDeadline);
                    board->Put(count + slot, {});
                });
            }
            delivery.SourcesArrived(slot, std::move(sources));
        }
        delivery.DeliverReady(false);
        if (std::chrono::steady_clock::now() >= deadline) break;
    }
    delivery.DeliverReady(true);
    return delivery.delivered();
}

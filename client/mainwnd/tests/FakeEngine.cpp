// A scripted stand-in for libvantrel.so, loaded by the search tests through the
// engine binding's path override. The keyword decides what it returns:
//   "drop": three records, the first without sources;
//   "none": two records, neither with sources;
//   "many": three records with sources;
//   "order": three records with sources; the first one's call returns only after
//            the other two have returned;
//   "hang": three records with sources; the second's call does not return until
//           FakeEngineRelease (or ten seconds);
//   anything else: no record.
// Every record's poster URL is FAKE_ENGINE_POSTER_URL when that is set, else none.
// FAKE_ENGINE_NULL=1 makes GetTrovikMgr hand out a null object. The last keyword, the
// number of searches and the order in which GetPlaySources calls returned are
// readable through extra exports.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>

#include "vantrel/TrovikMgr.h"

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
std::string g_lastKeyword;
std::string g_returned;  // ids of returned GetPlaySources calls, each followed by " "
bool g_released = false;
std::atomic<int> g_searches{0};

SearchResult Record(const std::string& id) {
    SearchResult r;
    r.name = "show " + id;
    r.category = "[x]";
    r.detailUrl = "http://127.0.0.1:1/detail/" + id;
    r.score = "7";
    if (const char* poster = std::getenv("FAKE_ENGINE_POSTER_URL")) r.posterUrl = poster;
    return r;
}

std::string IdOf(const std::string& detailUrl) {
    return detailUrl.substr(detailUrl.rfind('/') + 1);
}

class CFakeEngine : public CTrovikMgr {
public:
    bool Search(std::string keyword, std::vector<SearchResult>* results) override {
        {
            std::lock_guard lock(g_mutex);
            g_lastKeyword = keyword;
            g_returned.clear();
            g_released = false;
        }
        ++g_searches;
        if (keyword == "drop" || keyword == "many") {
            for (const char* id : {"nosrc", "a", "b"}) results->push_back(Record(id));
            if (keyword == "many") results->front().detailUrl = "http://127.0.0.1:1/detail/z";
        } else if (keyword == "none") {
            results->push_back(Record("nosrc"));
            results->push_back(Record("nosrc"));
        } else if (keyword == "order") {
            for (const char* id : {"waits", "b", "c"}) results->push_back(Record(id));
        } else if (keyword == "hang") {
            for (const char* id : {"a", "hangs", "c"}) results->push_back(Record(id));
        }
        return true;
    }
    bool GetPlaySources(std::string detailUrl, std::vector<PlaySource>* sources,
                        std::string) override {
        const std::string id = IdOf(detailUrl);
        {
            std::unique_lock lock(g_mutex);
            const auto limit = std::chrono::seconds(10);
            if (id == "waits")
                g_changed.wait_for(lock, limit, [] {
                    return g_returned.find("b ") != std::string::npos &&
                           g_returned.find("c ") != std::string::npos;
                });
            if (id == "hangs") g_changed.wait_for(lock, limit, [] { return g_released; });
        }
        if (id != "nosrc") {
            PlaySource s;
            s.name = "site";
            s.links = {detailUrl + "/play/1"};
            sources->push_back(s);
        }
        {
            std::lock_guard lock(g_mutex);
            g_returned += id + " ";
        }
        g_changed.notify_all();
        return true;
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) int GetTrovikMgr(CTrovikMgr** mgr) {
    static CFakeEngine engine;
    const char* null = std::getenv("FAKE_ENGINE_NULL");
    *mgr = null && std::string(null) == "1" ? nullptr : &engine;
    return 1;
}

extern "C" __attribute__((visibility("default"))) int FakeEngineSearches() {
    return g_searches.load();
}

extern "C" __attribute__((visibility("default"))) const char* FakeEngineLastKeyword() {
    static thread_local std::string copy;
    std::lock_guard lock(g_mutex);
    copy = g_lastKeyword;
    return copy.c_str();
}

// The record ids whose GetPlaySources calls have returned since the last search, in
// the order they returned, each followed by a blank.
extern "C" __attribute__((visibility("default"))) const char* FakeEngineReturned() {
    static thread_local std::string copy;
    std::lock_guard lock(g_mutex);
    copy = g_returned;
    return copy.c_str();
}

// Lets a hanging call return.
extern "C" __attribute__((visibility("default"))) void FakeEngineRelease() {
    {
        std::lock_guard lock(g_mutex);
        g_released = true;
    }
    g_changed.notify_all();
}

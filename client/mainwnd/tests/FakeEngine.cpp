// A scripted stand-in for libvantrel.so, loaded by the search tests through the
// engine binding's path override. The keyword decides what it returns:
//   "drop": three records, the first without sources;
//   "none": two records, neither with sources;
//   "many": three records with sources;
//   anything else: no record.
// FAKE_ENGINE_NULL=1 makes GetTrovikMgr hand out a null object. The last keyword and
// the number of searches are readable through two extra exports.

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>

#include "vantrel/TrovikMgr.h"

namespace {

std::mutex g_mutex;
std::string g_lastKeyword;
std::atomic<int> g_searches{0};

SearchResult Record(const std::string& id) {
    SearchResult r;
    r.name = "show " + id;
    r.category = "[x]";
    r.detailUrl = "http://127.0.0.1:1/detail/" + id;
    r.score = "7";
    return r;
}

class CFakeEngine : public CTrovikMgr {
public:
    bool Search(std::string keyword, std::vector<SearchResult>* results) override {
        {
            std::lock_guard lock(g_mutex);
            g_lastKeyword = keyword;
        }
        ++g_searches;
        if (keyword == "drop" || keyword == "many") {
            for (const char* id : {"nosrc", "a", "b"}) results->push_back(Record(id));
            if (keyword == "many") results->front().detailUrl = "http://127.0.0.1:1/detail/z";
        } else if (keyword == "none") {
            results->push_back(Record("nosrc"));
            results->push_back(Record("nosrc"));
        }
        return true;
    }
    bool GetPlaySources(std::string detailUrl, std::vector<PlaySource>* sources,
                        std::string) override {
        if (detailUrl.ends_with("/nosrc")) return true;
        PlaySource s;
        s.name = "site";
        s.links = {detailUrl + "/play/1"};
        sources->push_back(s);
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

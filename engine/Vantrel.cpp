// The engine object and the library's only export.

#include "engine/DetailPageParser.h"
#include "engine/GbkTexts.h"
#include "engine/PageFetch.h"
#include "engine/ResultListParser.h"
#include "engine/SearchHostConfig.h"
#include "vantrel/TrovikMgr.h"

namespace {

class CVantrel final : public CTrovikMgr {
public:
    bool Search(std::string keyword, std::vector<SearchResult>* results) override {
        if (!results) return false;
        try {
            std::string page;
            if (!vantrel::FetchPage(vantrel::BuildSearchUrl(vantrel::SearchHost(), keyword), &page))
                return false;
            return vantrel::ParseResultList(page, results);
        } catch (...) {
            return false;  // nothing crosses the library boundary
        }
    }

    bool GetPlaySources(std::string detailUrl, std::vector<PlaySource>* sources,
                        std::string category) override {
        if (!sources) return false;
        try {
            std::string page;
            if (!vantrel::FetchPage(detailUrl, &page)) return false;
            if (category == vantrel::gbk::kFilm) return vantrel::ParseMoviePage(page, sources);
            if (category == vantrel::gbk::kSeries || category == vantrel::gbk::kAnimation)
                return vantrel::ParseSeriesPage(page, sources);
            if (category == vantrel::gbk::kVariety) return false;
            return true;
        } catch (...) {
            return false;
        }
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) int GetTrovikMgr(CTrovikMgr** mgr) {
    static CVantrel vantrel;
    if (mgr) *mgr = &vantrel;
    return 1;
}

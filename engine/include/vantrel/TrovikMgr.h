#pragma once

// The search engine's public interface, shared by libvantrel.so and its callers.
//
// Records travel between the engine and the caller as in-memory objects: the engine
// appends to vectors the caller owns and later frees, so both sides must be built
// against the same C++ standard library (same string and vector layout) and use one
// heap. All texts are the portal's raw GBK bytes: no decoding, no entity handling,
// no trimming.

#include <string>
#include <vector>

// One show found on the search page. Fields in this order.
struct SearchResult {
    std::string name;       // title (class "aVideoName")
    std::string category;   // bracketed category word, e.g. "[电视剧]" in GBK
    std::string badgeLeft;  // poster's left label
    std::string score;      // rating text
    std::string synopsis;   // text after the label "简介："
    std::string region;     // text after the label "地区："
    std::string badgeRight; // poster's right label
    std::string detailUrl;  // link to the show's detail page
    std::string posterUrl;  // poster image URL
    std::string year;       // text after the label "年代："
    std::vector<std::string> actors;
    std::vector<std::string> directors;
    std::vector<std::string> genres;
};

// One site that plays the show.
struct PlaySource {
    std::string name;                // the site's display name
    std::string iconUrl;             // the site's icon image
    std::vector<std::string> links;  // play pages: one for a film, one per episode otherwise
};

// The engine. Exactly two virtual operations, in this order, and no virtual
// destructor: the object is a static inside the library and nobody deletes it.
class CTrovikMgr {
public:
    // Fetches the search page for an already percent-encoded GBK keyword and appends
    // one record per listed show. True when the page held the result list.
    virtual bool Search(std::string keyword, std::vector<SearchResult>* results) = 0;

    // Fetches a detail page and appends the show's play sources, chosen by category.
    virtual bool GetPlaySources(std::string detailUrl, std::vector<PlaySource>* sources,
                                std::string category) = 0;

protected:
    CTrovikMgr() = default;
    ~CTrovikMgr() = default;
};

// The library's only export: stores the engine object's address in *mgr; returns 1.
extern "C" int GetTrovikMgr(CTrovikMgr** mgr);
using GetTrovikMgrFunc = int (*)(CTrovikMgr**);

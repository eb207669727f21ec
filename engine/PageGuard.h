#pragma once

// A linear pre-scan that decides whether htmlcxx may parse a page.
//
// htmlcxx 0.87 builds its tree in ways that are quadratic for some inputs: an end
// tag closes every unclosed element between it and its matching start tag by
// moving their children up one level (so k unclosed siblings that a later end tag
// closes cost about k*k/2 moves), and an end tag without a matching start tag
// walks up through every open element (k unclosed tags and m stray end tags cost
// k*m steps). Nothing can interrupt the parse once it runs, so the scan tokenises
// the page exactly as htmlcxx does, models its tree building, counts the nodes it
// would create and the link steps it would spend, and refuses the page when
// either goes past a limit. Real pages stay far below both limits.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantrel {

struct PageLimits {
    size_t maxBytes = 8u << 20;      // page size (the download accepts no more)
    uint64_t maxNodes = 400'000;     // nodes of the tree (elements, texts, comments)
    uint64_t maxSteps = 16'000'000;  // tree links walked or moved while building
};

struct PageCost {
    uint64_t nodes = 0;  // nodes the tree would hold, its root not counted
    uint64_t steps = 0;  // parent-link steps and child moves of end tags
    uint64_t maxDepth = 0;
    bool accepted = true;
};

// Scans `page` (stops early once a limit is passed; the counts are then partial).
PageCost ScanPage(const std::string& page, const PageLimits& limits = {});

}  // namespace vantrel

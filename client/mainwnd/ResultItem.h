#pragma once

// One show as the client keeps it: the engine's record and its play sources.

#include <vector>

#include "vantrel/TrovikMgr.h"

struct ResultItem {
    SearchResult result;
    std::vector<PlaySource> sources;  // never empty in a stored item
};

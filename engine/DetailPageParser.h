#pragma once

// Extraction of the play sources of a show's detail page: one layout for films,
// another for series and animation.

#include <string>
#include <vector>

#include "engine/HtmlNode.h"
#include "vantrel/TrovikMgr.h"

namespace vantrel {

// Film page: one source per link of the first "moviePlaySourceA" block, each with
// exactly one link. True when the block was found.
bool ParseMoviePage(const std::string& page, std::vector<PlaySource>* sources);

// Series and animation page: one source per site tab of the episode area
// ("playNumList"), each with the links of the episode block at the tab's position.
// True when the area and its tab bar were found and every tab had its block.
bool ParseSeriesPage(const std::string& page, std::vector<PlaySource>* sources);

// Appends the episode links of one episode block: links that open in a new
// window ("_blank") and have an href, the first link of each title only.
void CollectEpisodeLinks(HtmlNode* block, std::vector<std::string>* links);

}  // namespace vantrel

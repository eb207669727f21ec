#pragma once

// Synthetic portal pages of realistic shape for the engine benchmarks, in GBK.

#include <string>

namespace bench {

// A search page with `items` results, each with a poster block, twelve actors,
// two directors, three genres and a synopsis of about 1,500 ideographs, inside
// about 12 KB of page header, navigation and footer. 30 items make about 150 KB.
std::string SearchPage(int items);

// A series detail page with `sites` site tabs of `episodes` episode links each.
std::string SeriesPage(int sites, int episodes);

}  // namespace bench

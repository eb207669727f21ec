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

// Hostile search pages whose labels re-collect the same elements. With runs = false the
// list labels become "地区：" labels (same bytes, same tree) that collect no run: the same
// page without the runs.
//
// `items` items, each with `labels` list labels in a row (actors, directors and genres
// in turn): every label collects all the labels after it.
std::string LabelRowsPage(int items, int labels, bool runs);
// One item whose `labels` list labels (genres, then directors, then actors) stand in a
// row before one value of `valueBytes`: every label collects the value.
std::string LabelValuePage(int labels, size_t valueBytes, bool runs);

}  // namespace bench

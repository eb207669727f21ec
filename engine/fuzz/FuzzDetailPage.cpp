// Feeds arbitrary bytes to both detail page extractors.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/DetailPageParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    std::vector<PlaySource> movie;
    if (!vantrel::ParseMoviePage(page, &movie) && !movie.empty()) __builtin_trap();
    for (const PlaySource& source : movie)
        if (source.links.size() != 1) __builtin_trap();  // a film source has one link
    std::vector<PlaySource> series;
    vantrel::ParseSeriesPage(page, &series);
    return 0;
}

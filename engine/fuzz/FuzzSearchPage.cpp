// Feeds arbitrary bytes to the search page extractor. The seed corpus holds, among
// real pages, the two label-run shapes (labels in a row; a value behind many labels).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ResultListParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    std::vector<SearchResult> results;
    const bool found = vantrel::ParseResultList(page, &results);
    if (!found && !results.empty()) __builtin_trap();  // records without a list
    // No list beyond its own cap, and all lists of the page within the page's bounds.
    size_t entries = 0, bytes = 0;
    for (const SearchResult& result : results) {
        for (const auto* list : {&result.actors, &result.directors, &result.genres}) {
            if (list->size() > vantrel::kMaxListEntries) __builtin_trap();
            entries += list->size();
            for (const std::string& text : *list) bytes += text.size();
        }
    }
    if (entries > vantrel::kMaxListEntriesPerPage || bytes > vantrel::kMaxListBytesPerPage)
        __builtin_trap();
    return 0;
}

// Feeds arbitrary bytes to the search page extractor.

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
    for (const SearchResult& result : results)
        if (result.actors.size() > vantrel::kMaxListEntries) __builtin_trap();
    return 0;
}

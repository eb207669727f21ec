#pragma once

// The vantrel command's arguments.

#include <optional>
#include <string>
#include <vector>

#include "common/FetchPool.h"

namespace vantrel::cli {

// The most detail pages a search fetches at a time (also the default): the number of
// requests a polite client sends to one host at once.
inline constexpr int kMaxJobs = kRequestsPerHost;

struct Command {
    enum class Kind { kSearch, kSources };
    Kind kind = Kind::kSearch;
    std::string portal;    // --portal HOST:PORT, empty when absent
    std::string category;  // --category CAT (sources only), UTF-8
    std::string target;    // the show's name (search, UTF-8) or the detail URL (sources)
    int jobs = kMaxJobs;   // --jobs N (search only): detail pages fetched at a time
};

// Parses the arguments after the program name; nothing when they are not valid.
std::optional<Command> ParseCommandLine(const std::vector<std::string>& args);

// The usage text printed for bad arguments.
const char* UsageText();

}  // namespace vantrel::cli

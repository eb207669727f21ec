#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace downloadtest {

// Names in a folder, sorted: shows leftovers such as temporary files.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace downloadtest

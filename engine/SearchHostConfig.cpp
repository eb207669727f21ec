#include "engine/SearchHostConfig.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ProfileFile.h"

namespace vantrel {

std::string EngineFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&EngineFolder), &info) || !info.dli_fname) return {};
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(info.dli_fname, error);
    if (error) return {};
    return path.parent_path().string();
}

std::string ConfiguredSearchHost(const std::string& folder) {
    if (folder.empty()) return {};
    return platform::ReadProfileString("Portal", "SearchHost", "", folder + "/Config/AutoCfg.cfg");
}

std::string SearchHost() {
    if (const char* host = std::getenv(kSearchHostVariable); host && *host) return host;
    return ConfiguredSearchHost(EngineFolder());
}

std::string BuildSearchUrl(const std::string& host, const std::string& keyword) {
    return "http://" + host + "/search_" + keyword + "/";
}

}  // namespace vantrel

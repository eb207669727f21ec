#pragma once

// Where the portal's search pages live.

#include <string>

namespace vantrel {

// The environment variable through which a caller (the vantrel command's
// --portal option) overrides the configured search host.
inline constexpr const char* kSearchHostVariable = "VANTREL_SEARCH_HOST";

// The folder that holds this library (or the program it is linked into).
std::string EngineFolder();

// Key "SearchHost" of section "Portal" in `folder`/Config/AutoCfg.cfg; empty when
// the file or the key is missing.
std::string ConfiguredSearchHost(const std::string& folder);

// The search host ("host" or "host:port"): the variable above when set and not
// empty, else ConfiguredSearchHost(EngineFolder()). Read anew at every call.
std::string SearchHost();

// "http://" + host + "/search_" + keyword + "/", the keyword inserted unchanged.
std::string BuildSearchUrl(const std::string& host, const std::string& keyword);

}  // namespace vantrel

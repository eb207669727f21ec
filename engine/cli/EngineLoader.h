#pragma once

// Loads libvantrel.so the way the client does: from the program's own folder
// first, then by bare name through the library search path.

#include <string>

#include "vantrel/TrovikMgr.h"

namespace vantrel::cli {

// The engine object, or null with `error` set. The library stays loaded.
CTrovikMgr* LoadEngine(std::string* error);

}  // namespace vantrel::cli

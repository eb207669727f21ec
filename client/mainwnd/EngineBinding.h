#pragma once

// Binding of the search engine library at run time: libvantrel.so is loaded from the
// running executable's folder first, then by bare name through the normal library
// search path. It is bound anew for every search (a repeated load only adds a
// reference) and never unloaded: the engine object is a static inside it.

#include <string>

class CTrovikMgr;

inline constexpr const char* kEngineLibraryName = "libvantrel.so";

// The engine object, or null when the library, its export "GetTrovikMgr" or the
// object is missing.
CTrovikMgr* BindEngine();

// Tests and benchmarks run from another folder than the installation: a non-empty
// path makes BindEngine load exactly that file (and nothing else); "" restores the
// normal lookup. Set it before a search starts, not while one runs.
void SetEngineLibraryOverride(const std::string& path);

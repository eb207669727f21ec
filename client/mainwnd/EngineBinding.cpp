#include "client/mainwnd/EngineBinding.h"

#include <dlfcn.h>

#include "platform/Folders.h"
#include "vantrel/TrovikMgr.h"

namespace {

std::string& LibraryOverride() {
    static std::string path;
    return path;
}

void* LoadEngineLibrary() {
    if (!LibraryOverride().empty()) return dlopen(LibraryOverride().c_str(), RTLD_NOW);
    const std::string own = platform::ExecutableFolder() + "/" + kEngineLibraryName;
    if (void* module = dlopen(own.c_str(), RTLD_NOW)) return module;
    return dlopen(kEngineLibraryName, RTLD_NOW);
}

}  // namespace

CTrovikMgr* BindEngine() {
    void* module = LoadEngineLibrary();
    if (!module) return nullptr;
    auto get = reinterpret_cast<GetTrovikMgrFunc>(dlsym(module, "GetTrovikMgr"));
    if (!get) return nullptr;
    CTrovikMgr* mgr = nullptr;
    get(&mgr);
    return mgr;
}

void SetEngineLibraryOverride(const std::string& path) {
    LibraryOverride() = path;
}

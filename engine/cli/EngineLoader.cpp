#include "engine/cli/EngineLoader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace vantrel::cli {
namespace {

constexpr const char* kLibraryName = "libvantrel.so";

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    std::string folder(path, static_cast<size_t>(length));
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

}  // namespace

CTrovikMgr* LoadEngine(std::string* error) {
    void* library = nullptr;
    const std::string folder = ProgramFolder();
    if (!folder.empty()) library = dlopen((folder + "/" + kLibraryName).c_str(), RTLD_NOW);
    if (!library) library = dlopen(kLibraryName, RTLD_NOW);
    if (!library) {
        const char* message = dlerror();
        *error = message ? message : "cannot load libvantrel.so";
        return nullptr;
    }
    auto getMgr = reinterpret_cast<GetTrovikMgrFunc>(dlsym(library, "GetTrovikMgr"));
    if (!getMgr) {
        *error = "libvantrel.so does not export GetTrovikMgr";
        return nullptr;
    }
    CTrovikMgr* mgr = nullptr;
    getMgr(&mgr);
    if (!mgr) *error = "GetTrovikMgr returned no engine";
    return mgr;
}

}  // namespace vantrel::cli

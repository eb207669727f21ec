#include "uilib/src/resources/ResourceRegistry.h"

#include <unistd.h>

#include <cwctype>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "uilib/core/PaintManager.h"
#include "uilib/core/Win32Api.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/resources/ResourceStore.h"

namespace UiLib {

namespace {

constexpr std::uintptr_t kIconBase = 0x20000;

struct Registry {
    std::mutex mutex;
    HINSTANCE instance = nullptr;
    CDuiString resourcePath;
    CDuiString zipName;
    bool cachedZip = false;
    std::map<UINT, std::string> icons;  // the registered bytes
    std::map<std::pair<std::wstring, UINT>, std::pair<const void*, std::size_t>> data;
};

Registry& R() {
    static Registry r;
    return r;
}

std::wstring UpperType(LPCTSTR type) {
    std::wstring t = type ? type : L"";
    for (auto& c : t) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return t;
}

}  // namespace

// ---- The skin's place and the instance ----

void CPaintManagerUI::SetInstance(HINSTANCE hInst) {
    R().instance = hInst;
}
HINSTANCE CPaintManagerUI::GetInstance() {
    return R().instance;
}

CDuiString CPaintManagerUI::GetInstancePath() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return CDuiString(L"./");
    std::string path(buf, static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    path = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    return CDuiString(Utf8ToWide(path));
}

CDuiString CPaintManagerUI::GetCurrentPath() {
    char buf[4096];
    if (!::getcwd(buf, sizeof buf)) return CDuiString();
    return CDuiString(Utf8ToWide(buf));
}

void CPaintManagerUI::SetResourcePath(LPCTSTR pStrPath) {
    CDuiString path(pStrPath);
    path.Replace(L"\\", L"/");
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'/') path += L'/';
    R().resourcePath = path;
    detail::SetResourceFolder(WideToUtf8(path.str()));
}

const CDuiString& CPaintManagerUI::GetResourcePath() {
    return R().resourcePath;
}

void CPaintManagerUI::SetResourceZip(LPCTSTR pstrZip, bool bCachedResourceZip) {
    CDuiString name(pstrZip);
    name.Replace(L"\\", L"/");
    R().zipName = name;
    R().cachedZip = bCachedResourceZip;
    if (name.IsEmpty()) {
        detail::OpenArchiveBytes(nullptr, 0);  // drops the archive
        return;
    }
    const CDuiString path = name[0] == L'/' ? name : R().resourcePath + name;
    detail::OpenArchiveFile(WideToUtf8(path.str()));
}

void CPaintManagerUI::SetResourceZip(const void* pData, std::size_t size) {
    R().zipName = L"<memory>";
    R().cachedZip = true;
    detail::OpenArchiveBytes(pData, size);
}

CDuiString CPaintManagerUI::GetResourceZip() {
    return R().zipName;
}
bool CPaintManagerUI::IsCachedResourceZip() {
    return R().cachedZip;
}

bool CPaintManagerUI::LoadResourceFile(LPCTSTR pstrName, std::string* bytes) {
    if (!pstrName) return false;
    const auto data = detail::LoadFile(WideToUtf8(pstrName));
    if (!data) return false;
    if (bytes) *bytes = *data;
    return true;
}

int CPaintManagerUI::MessageLoop() {
    detail::RunLoopUntil([] { return false; });
    const int code = detail::QuitCode();
    detail::ClearQuit();
    return code;
}

void CPaintManagerUI::Term() {}

// ---- Icons and binary resources of the executable ----

void RegisterIconResource(UINT id, const void* data, std::size_t size) {
    std::lock_guard<std::mutex> lock(R().mutex);
    R().icons[id] = data ? std::string(static_cast<const char*>(data), size) : std::string();
}

HICON LoadIconW(HINSTANCE, LPCTSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    std::lock_guard<std::mutex> lock(R().mutex);
    if (!R().icons.count(id)) return nullptr;
    return reinterpret_cast<HICON>(kIconBase + id);
}

BOOL DestroyIcon(HICON icon) {
    return icon ? TRUE : FALSE;
}

void RegisterResource(LPCTSTR type, UINT id, const void* data, std::size_t size) {
    std::lock_guard<std::mutex> lock(R().mutex);
    R().data[{UpperType(type), id}] = {data, size};
}

bool FindResourceData(LPCTSTR type, UINT id, const void** data, std::size_t* size) {
    std::lock_guard<std::mutex> lock(R().mutex);
    const auto it = R().data.find({UpperType(type), id});
    if (it == R().data.end()) return false;
    if (data) *data = it->second.first;
    if (size) *size = it->second.second;
    return true;
}

namespace detail {

std::shared_ptr<const backend::Image> DecodeIcon(HICON icon) {
    const auto v = reinterpret_cast<std::uintptr_t>(icon);
    backend::Backend* b = backend::CurrentBackend();
    if (v < kIconBase || !b) return nullptr;
    std::string bytes;
    {
        std::lock_guard<std::mutex> lock(R().mutex);
        const auto it = R().icons.find(static_cast<UINT>(v - kIconBase));
        if (it == R().icons.end()) return nullptr;
        bytes = it->second;
    }
    return b->DecodeImage(bytes.data(), bytes.size());
}

}  // namespace detail
}  // namespace UiLib

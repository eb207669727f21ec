#include "updater/ManifestNames.h"

#include "platform/CodePage.h"

namespace {

// NAME_MAX of the common Linux file systems.
constexpr size_t kMaxComponentBytes = 255;

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

bool IsSafeManifestName(std::string_view ansiName) {
    if (ansiName.empty() || ansiName == "." || ansiName == "..") return false;
    const std::wstring wide = platform::Gb18030ToWide(ansiName);
    if (platform::WideToGb18030(wide) != ansiName) return false;  // invalid bytes
    for (wchar_t c : wide)
        if (c == L'/' || c == L'\\' || c == L'\0') return false;
    const std::string path = platform::WideToUtf8(wide);
    return path != "." && path != ".." && path.size() <= kMaxComponentBytes;
}

std::string ManifestNameToPath(std::string_view ansiName) {
    return platform::Gb18030ToUtf8(ansiName);
}

std::string PathNameToManifest(std::string_view pathName) {
    return platform::Utf8ToGb18030(pathName);
}

bool IsNeverFetchedName(std::string_view ansiName) {
    return EqualsIgnoringAsciiCase(ansiName, "Config.cfg") ||
           EqualsIgnoringAsciiCase(ansiName, "Version.txt");
}

std::string UrlPathSegment(std::string_view ansiName) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : ansiName) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

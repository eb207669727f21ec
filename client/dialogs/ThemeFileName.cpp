#include "client/dialogs/ThemeFileName.h"

#include <cwctype>

#include "uilib/UiLib.h"

namespace {

// The value of the "file" attribute in an attribute list, or the whole text when it
// names no such attribute (a bare image name).
std::wstring FileAttribute(const std::wstring& text) {
    size_t at = 0;
    while ((at = text.find(L"file=", at)) != std::wstring::npos) {
        // Only a whole attribute name counts ("profile=" is not "file=").
        if (at == 0 || std::iswspace(text[at - 1])) break;
        ++at;
    }
    if (at == std::wstring::npos) return text;
    size_t begin = at + 5;
    if (begin < text.size() && (text[begin] == L'\'' || text[begin] == L'"')) {
        const wchar_t quote = text[begin++];
        const size_t end = text.find(quote, begin);
        return text.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
    }
    size_t end = begin;
    while (end < text.size() && !std::iswspace(text[end])) ++end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::wstring ThemeFileName(const std::wstring& imageAttribute) {
    std::wstring name = FileAttribute(imageAttribute);
    const size_t slash = name.find_last_of(L"/\\");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    std::erase(name, L'\'');
    if (name.empty() || name == L"." || name == L"..") return {};
    if (name.find_first_of(std::wstring(L"/\\\0", 3)) != std::wstring::npos) return {};
    return name;
}

std::string ThemeUrl(const std::string& baseUrl, const std::wstring& fileName) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = baseUrl;
    for (const unsigned char c : UiLib::WideToUtf8(fileName)) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return url;
}

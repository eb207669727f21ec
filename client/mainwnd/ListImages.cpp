#include "client/mainwnd/ListImages.h"

namespace {

template <typename Char>
bool UsableName(std::basic_string_view<Char> name) {
    if (name.empty()) return false;
    if (name.size() <= 2 && name.find_first_not_of(Char('.')) == name.npos) return false;
    for (const Char c : name) {
        if (c == Char('/') || c == Char('\\') || c == Char('\0') || c == Char('\'') ||
            c == Char('"')) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsUsableImageName(std::string_view name) {
    return UsableName(name);
}

bool IsUsableImageName(std::wstring_view name) {
    return UsableName(name);
}

std::wstring ImageFileAttribute(const std::wstring& path) {
    const wchar_t quote = path.find(L'\'') == std::wstring::npos ? L'\'' : L'"';
    std::wstring text = L"file=";
    text += quote;
    text += path;
    text += quote;
    return text;
}

std::wstring ImageString(const std::wstring& path) {
    if (path.find_first_of(L"='\"") == std::wstring::npos) return path;
    return ImageFileAttribute(path);
}

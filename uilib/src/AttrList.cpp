#include "uilib/src/AttrList.h"

#include <cwctype>

namespace UiLib::detail {

std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const wchar_t* text) {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    if (!text) return out;
    const wchar_t* p = text;
    while (true) {
        while (*p && std::iswspace(static_cast<wint_t>(*p))) ++p;
        if (!*p) break;
        const wchar_t* nameStart = p;
        while (*p && *p != L'=' && !std::iswspace(static_cast<wint_t>(*p))) ++p;
        std::wstring name(nameStart, p);
        while (*p && std::iswspace(static_cast<wint_t>(*p))) ++p;
        if (*p != L'=' || name.empty()) break;
        ++p;
        while (*p && std::iswspace(static_cast<wint_t>(*p))) ++p;
        const wchar_t quote = *p;
        if (quote != L'"' && quote != L'\'') break;
        ++p;
        const wchar_t* valueStart = p;
        while (*p && *p != quote) ++p;
        if (*p != quote) break;
        out.emplace_back(std::move(name), std::wstring(valueStart, p));
        ++p;
    }
    return out;
}

}  // namespace UiLib::detail

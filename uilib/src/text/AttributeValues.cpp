#include "uilib/src/text/AttributeValues.h"

#include <cwchar>
#include <cwctype>

#include "uilib/core/DuiString.h"

namespace UiLib::detail {

DWORD ParseColor(LPCTSTR value) {
    if (!value) return 0;
    while (*value == L' ') ++value;
    if (*value == L'#') ++value;
    size_t n = 0;
    DWORD v = 0;
    for (; value[n]; ++n) {
        const wchar_t c = value[n];
        int d;
        if (c >= L'0' && c <= L'9') {
            d = c - L'0';
        } else if (c >= L'a' && c <= L'f') {
            d = c - L'a' + 10;
        } else if (c >= L'A' && c <= L'F') {
            d = c - L'A' + 10;
        } else {
            break;
        }
        if (n >= 8) return 0;
        v = (v << 4) | static_cast<DWORD>(d);
    }
    if (n == 6) return v | 0xFF000000;
    if (n == 8) return v;
    return 0;
}

RECT ParseRect(LPCTSTR value) {
    RECT rc{};
    if (!value) return rc;
    LONG* fields[4] = {&rc.left, &rc.top, &rc.right, &rc.bottom};
    const wchar_t* p = value;
    for (int i = 0; i < 4 && *p; ++i) {
        wchar_t* end = nullptr;
        *fields[i] = static_cast<LONG>(std::wcstol(p, &end, 10));
        if (end == p) break;
        p = end;
        while (*p == L' ') ++p;
        if (*p != L',') break;
        ++p;
    }
    return rc;
}

SIZE ParseSize(LPCTSTR value) {
    const RECT rc = ParseRect(value);
    return SIZE{rc.left, rc.top};
}

bool ParseBool(LPCTSTR value) {
    return value && EqualsNoCase(value, L"true");
}

int ParseInt(LPCTSTR value) {
    if (!value) return 0;
    return static_cast<int>(std::wcstol(value, nullptr, 10));
}

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

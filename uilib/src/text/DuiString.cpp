#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "uilib/core/Defines.h"
#include "uilib/core/DuiString.h"

namespace UiLib {

namespace {

wchar_t Fold(wchar_t c) {
    if (c < 128) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

// Rewrites a format with Windows wide-printf meanings into the C library's: %s and %c
// without a length take wide arguments there, %hs / %hc narrow ones.
std::wstring WindowsFormatToC(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') {
            out += L'%';
            continue;
        }
        // Flags, width, precision.
        while (*p && std::wcschr(L"-+ #0123456789.*", *p)) out += *p++;
        if (*p == L'h' && (p[1] == L's' || p[1] == L'c')) {
            ++p;
            out += *p;  // narrow in the C library's wide printf
            continue;
        }
        if (*p == L's' || *p == L'c') {
            out += L'l';
            out += *p;
            continue;
        }
        if (!*p) break;
        out += *p;
    }
    return out;
}

int FormatInto(std::wstring& target, const wchar_t* format, va_list args) {
    if (!format) {
        target.clear();
        return 0;
    }
    const std::wstring fmt = WindowsFormatToC(format);
    std::vector<wchar_t> buffer(256);
    while (true) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vswprintf(buffer.data(), buffer.size(), fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) {
            target.assign(buffer.data(), static_cast<size_t>(n));
            return n;
        }
        if (buffer.size() > (1u << 24)) {  // a format that cannot be printed
            target.clear();
            return 0;
        }
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace

CDuiString::CDuiString(const wchar_t* text, int length) {
    Assign(text, length);
}

wchar_t CDuiString::GetAt(int index) const {
    return (index >= 0 && index < GetLength()) ? str_[static_cast<size_t>(index)] : L'\0';
}

void CDuiString::SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength()) str_[static_cast<size_t>(index)] = ch;
}

void CDuiString::Assign(const wchar_t* text, int length) {
    if (!text) {
        str_.clear();
        return;
    }
    if (length < 0) {
        str_.assign(text);
    } else {
        const size_t n = wcsnlen(text, static_cast<size_t>(length));
        str_.assign(text, n);
    }
}

void CDuiString::Append(const wchar_t* text) {
    if (text) str_.append(text);
}

CDuiString& CDuiString::operator=(const wchar_t* text) {
    Assign(text);
    return *this;
}
CDuiString& CDuiString::operator=(const std::wstring& text) {
    str_ = text;
    return *this;
}
CDuiString& CDuiString::operator=(wchar_t ch) {
    str_.assign(1, ch);
    return *this;
}
CDuiString& CDuiString::operator+=(const CDuiString& text) {
    str_ += text.str_;
    return *this;
}
CDuiString& CDuiString::operator+=(const wchar_t* text) {
    Append(text);
    return *this;
}
CDuiString& CDuiString::operator+=(wchar_t ch) {
    str_ += ch;
    return *this;
}

int CDuiString::Compare(const wchar_t* text) const {
    return str_.compare(text ? text : L"");
}

int CDuiString::CompareNoCase(const wchar_t* text) const {
    const wchar_t* a = str_.c_str();
    const wchar_t* b = text ? text : L"";
    for (;; ++a, ++b) {
        const wchar_t ca = Fold(*a);
        const wchar_t cb = Fold(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!ca) return 0;
    }
}

void CDuiString::MakeUpper() {
    for (auto& c : str_) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}
void CDuiString::MakeLower() {
    for (auto& c : str_) c = Fold(c);
}

CDuiString CDuiString::Left(int length) const {
    if (length < 0) length = 0;
    return CDuiString(str_.substr(0, static_cast<size_t>(length)));
}

CDuiString CDuiString::Mid(int pos, int length) const {
    if (pos < 0) pos = 0;
    if (pos >= GetLength()) return CDuiString();
    if (length < 0) return CDuiString(str_.substr(static_cast<size_t>(pos)));
    return CDuiString(str_.substr(static_cast<size_t>(pos), static_cast<size_t>(length)));
}

CDuiString CDuiString::Right(int length) const {
    if (length <= 0) return CDuiString();
    if (length >= GetLength()) return *this;
    return CDuiString(str_.substr(str_.size() - static_cast<size_t>(length)));
}

int CDuiString::Find(wchar_t ch, int pos) const {
    if (pos < 0 || pos > GetLength()) return -1;
    const auto r = str_.find(ch, static_cast<size_t>(pos));
    return r == std::wstring::npos ? -1 : static_cast<int>(r);
}

int CDuiString::Find(const wchar_t* text, int pos) const {
    if (!text || pos < 0 || pos > GetLength()) return -1;
    const auto r = str_.find(text, static_cast<size_t>(pos));
    return r == std::wstring::npos ? -1 : static_cast<int>(r);
}

int CDuiString::ReverseFind(wchar_t ch) const {
    const auto r = str_.rfind(ch);
    return r == std::wstring::npos ? -1 : static_cast<int>(r);
}

int CDuiString::Replace(const wchar_t* from, const wchar_t* to) {
    if (!from || !*from) return 0;
    const std::wstring f(from);
    const std::wstring t(to ? to : L"");
    int count = 0;
    size_t pos = 0;
    while ((pos = str_.find(f, pos)) != std::wstring::npos) {
        str_.replace(pos, f.size(), t);
        pos += t.size();
        ++count;
    }
    return count;
}

int CDuiString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = FormatInto(str_, format, args);
    va_end(args);
    return n;
}

int CDuiString::SmallFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = FormatInto(str_, format, args);
    va_end(args);
    return n;
}

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
        }
        if (len > 1) {
            if (i + len > text.size()) {
                len = 1;
            } else {
                char32_t v = c & (0x7F >> len);
                bool ok = true;
                for (size_t k = 1; k < len; ++k) {
                    const auto cc = static_cast<unsigned char>(text[i + k]);
                    if ((cc & 0xC0) != 0x80) {
                        ok = false;
                        break;
                    }
                    v = (v << 6) | (cc & 0x3F);
                }
                if (ok) {
                    cp = v;
                } else {
                    len = 1;
                }
            }
        }
        out += static_cast<wchar_t>(cp);
        i += len;
    }
    return out;
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto cp = static_cast<char32_t>(wc);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

bool EqualsNoCase(const wchar_t* a, const wchar_t* b) {
    return CDuiString(a).CompareNoCase(b ? b : L"") == 0;
}

bool IntersectRect(RECT* out, const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top) {
        if (out) *out = RECT{};
        return false;
    }
    if (out) *out = r;
    return true;
}

RECT MakeRect(LONG l, LONG t, LONG r, LONG b) {
    return RECT{l, t, r, b};
}

}  // namespace UiLib

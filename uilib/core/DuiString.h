#pragma once

// CDuiString: the framework's text type, a thin wrapper of std::wstring.

#include <string>
#include <string_view>

#include "uilib/core/Win32Types.h"

namespace UiLib {

class CDuiString {
public:
    CDuiString() = default;
    CDuiString(const wchar_t* text) : str_(text ? text : L"") {}  // NOLINT: implicit
    CDuiString(const wchar_t* text, int length);
    CDuiString(wchar_t ch) : str_(1, ch) {}                     // NOLINT
    CDuiString(const std::wstring& text) : str_(text) {}        // NOLINT
    CDuiString(std::wstring&& text) : str_(std::move(text)) {}  // NOLINT
    CDuiString(std::wstring_view text) : str_(text) {}          // NOLINT

    const wchar_t* GetData() const { return str_.c_str(); }
    operator LPCTSTR() const { return str_.c_str(); }  // NOLINT
    const std::wstring& str() const { return str_; }
    std::wstring& str() { return str_; }

    int GetLength() const { return static_cast<int>(str_.size()); }
    bool IsEmpty() const { return str_.empty(); }
    void Empty() { str_.clear(); }
    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const { return GetAt(index); }
    void SetAt(int index, wchar_t ch);

    void Assign(const wchar_t* text, int length = -1);
    void Append(const wchar_t* text);
    CDuiString& operator=(const wchar_t* text);
    CDuiString& operator=(const std::wstring& text);
    CDuiString& operator=(wchar_t ch);
    CDuiString& operator+=(const CDuiString& text);
    CDuiString& operator+=(const wchar_t* text);
    CDuiString& operator+=(wchar_t ch);

    friend CDuiString operator+(const CDuiString& a, const CDuiString& b) {
        return CDuiString(a.str_ + b.str_);
    }
    friend CDuiString operator+(const CDuiString& a, const wchar_t* b) {
        return CDuiString(a.str_ + (b ? b : L""));
    }
    friend CDuiString operator+(const wchar_t* a, const CDuiString& b) {
        return CDuiString((a ? std::wstring(a) : std::wstring()) + b.str_);
    }
    friend bool operator==(const CDuiString& a, const CDuiString& b) { return a.str_ == b.str_; }
    friend bool operator==(const CDuiString& a, const wchar_t* b) {
        return a.str_ == (b ? b : L"");
    }
    friend bool operator!=(const CDuiString& a, const CDuiString& b) { return !(a == b); }
    friend bool operator!=(const CDuiString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator<(const CDuiString& a, const CDuiString& b) { return a.str_ < b.str_; }

    int Compare(const wchar_t* text) const;
    // Case-insensitive comparison (Unicode simple case folding of letters).
    int CompareNoCase(const wchar_t* text) const;
    void MakeUpper();
    void MakeLower();

    CDuiString Left(int length) const;
    CDuiString Mid(int pos, int length = -1) const;
    CDuiString Right(int length) const;

    // Positions are character indexes; -1 when not found.
    int Find(wchar_t ch, int pos = 0) const;
    int Find(const wchar_t* text, int pos = 0) const;
    int ReverseFind(wchar_t ch) const;
    // Replaces every occurrence; returns the number of replacements.
    int Replace(const wchar_t* from, const wchar_t* to);

    // printf-style formatting with the Windows meaning of the conversions: "%s" and
    // "%c" take wide arguments ("%hs" a narrow string), so formats written for a wide
    // Windows build work unchanged. Returns the length of the result.
    int Format(const wchar_t* format, ...);
    int SmallFormat(const wchar_t* format, ...);

private:
    std::wstring str_;
};

// UTF-8 ⇄ wide text.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// Case-insensitive equality of two wide texts (either may be null).
bool EqualsNoCase(const wchar_t* a, const wchar_t* b);

}  // namespace UiLib

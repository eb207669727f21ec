#include "IniDocument.h"

#include <cstdint>

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Length of the GB18030 character at `i`: one byte for ASCII, else two or four. The
// trailing bytes of a two-byte character can look like ASCII letters or "]", so
// names are scanned character by character.
size_t CharLength(std::string_view s, size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x81 || lead == 0xFF || i + 1 >= s.size()) return 1;
    const auto second = static_cast<unsigned char>(s[i + 1]);
    if (second >= 0x30 && second <= 0x39) return i + 3 < s.size() ? 4 : 1;
    if (second >= 0x40 && second <= 0xFE && second != 0x7F) return 2;
    return 1;
}

// Position of the ASCII character `c` outside multi-byte characters, or npos.
size_t FindAscii(std::string_view s, char c) {
    for (size_t i = 0; i < s.size(); i += CharLength(s, i))
        if (s[i] == c) return i;
    return std::string_view::npos;
}

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

bool IniNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        const size_t length = CharLength(a, i);
        if (length == 1) {
            if (Lower(a[i]) != Lower(b[i])) return false;
        } else if (a.substr(i, length) != b.substr(i, length)) {
            return false;
        }
        i += length;
    }
    return true;
}

int IniParseInt(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && (IsBlank(value[i]) || value[i] == '\n')) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    uint32_t result = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        result = result * 10u + static_cast<uint32_t>(value[i] - '0');
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

IniDocument::IniDocument(std::string bytes) : bytes_(std::move(bytes)) {
    Parse();
}

void IniDocument::Parse() {
    lines_.clear();
    size_t pos = 0;
    while (pos < bytes_.size()) {
        Line line;
        line.begin = pos;
        size_t nl = bytes_.find('\n', pos);
        line.next = nl == std::string::npos ? bytes_.size() : nl + 1;
        line.end = nl == std::string::npos ? bytes_.size() : nl;
        if (line.end > line.begin && bytes_[line.end - 1] == '\r') --line.end;
        std::string_view text =
            Trim(std::string_view(bytes_).substr(line.begin, line.end - line.begin));
        if (!text.empty() && text.front() == '[') {
            size_t close = FindAscii(text, ']');
            if (close != std::string_view::npos) {
                line.kind = Line::Kind::kSection;
                line.name = Trim(text.substr(1, close - 1));
            }
        } else if (!text.empty() && text.front() != ';') {
            size_t eq = text.find('=');
            if (eq != std::string_view::npos) {
                line.kind = Line::Kind::kKey;
                line.name = Trim(text.substr(0, eq));
                line.value = StripQuotes(Trim(text.substr(eq + 1)));
            }
        }
        lines_.push_back(std::move(line));
        pos = lines_.back().next;
    }
}

size_t IniDocument::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Kind::kSection && IniNamesEqual(lines_[i].name, section))
            return i;
    return std::string::npos;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    size_t s = FindSection(section);
    if (s == std::string::npos) return std::nullopt;
    for (size_t i = s + 1; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i)
        if (lines_[i].kind == Line::Kind::kKey && IniNamesEqual(lines_[i].name, key))
            return lines_[i].value;
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    // Line ends follow the file: CRLF when its first line ends so.
    const size_t firstNl = bytes_.find('\n');
    const std::string eol =
        (firstNl != std::string::npos && firstNl > 0 && bytes_[firstNl - 1] == '\r') ? "\r\n"
                                                                                     : "\n";
    size_t s = FindSection(section);
    if (s == std::string::npos) {
        std::string add;
        if (!bytes_.empty() && bytes_.back() != '\n') add += eol;
        add += "[" + std::string(section) + "]" + eol + keyLine + eol;
        bytes_ += add;
        Parse();
        return;
    }
    size_t lastContent = s;  // last key or other non-blank line of the section
    for (size_t i = s + 1; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Kind::kKey && IniNamesEqual(line.name, key)) {
            bytes_.replace(line.begin, line.end - line.begin, keyLine);
            Parse();
            return;
        }
        if (!Trim(std::string_view(bytes_).substr(line.begin, line.end - line.begin)).empty())
            lastContent = i;
    }
    const Line& after = lines_[lastContent];
    std::string insert = keyLine + eol;
    size_t at = after.next;
    if (after.next == after.end) insert = eol + insert;  // the line had no line end
    bytes_.insert(at, insert);
    Parse();
}

}  // namespace platform

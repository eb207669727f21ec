#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text of one profile (ini) file, parsed with the Windows lookup rules:
// section and key names compare ASCII case-insensitively, names and values are
// trimmed of blanks, the first matching section and within it the first matching
// key win, lines end in LF or CRLF, and a value wrapped in one pair of matching
// quotes is read without them. Lines that are neither "[section]" nor
// "key=value" are kept but never match.
//
// The document keeps the original bytes: Set() changes only the bytes of the one
// line it replaces or inserts, so writing a key keeps every other byte of the file.
class IniDocument {
public:
    explicit IniDocument(std::string bytes = {});

    // The value of `key` in `section`, or nothing when either is absent.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Replaces the key's line, or adds "key=value" at the end of the section, or
    // adds the section (and the key) at the end of the file.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    const std::string& bytes() const { return bytes_; }

private:
    struct Line {
        enum class Kind { kSection, kKey, kOther };
        Kind kind = Kind::kOther;
        size_t begin = 0;       // first byte of the line
        size_t end = 0;         // one past the line's text (before CR/LF)
        size_t next = 0;        // first byte of the following line
        std::string name;       // section or key name, trimmed
        std::string value;      // key value, trimmed, outer quotes removed
    };

    void Parse();
    // Index of the first line of the first section named `section`, or npos.
    size_t FindSection(std::string_view section) const;

    std::string bytes_;
    std::vector<Line> lines_;
};

// ASCII case-insensitive equality of two names.
bool IniNamesEqual(std::string_view a, std::string_view b);

// The integer read of a profile value: blanks, an optional sign, then the leading
// decimal digits ("5" -> 5, "12abc" -> 12, "abc" -> 0), wrapping like a 32-bit value.
int IniParseInt(std::string_view value);

}  // namespace platform

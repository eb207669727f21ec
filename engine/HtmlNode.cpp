#include "engine/HtmlNode.h"

namespace vantrel {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

namespace {

// True when `name` (lower case) occurs in `text`, ASCII case-insensitively.
bool ContainsNoCase(const std::string& text, const std::string& name) {
    if (name.empty()) return true;
    const char first = name[0];
    const char firstUpper =
        (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
    for (size_t at = 0; at + name.size() <= text.size(); ++at) {
        if (text[at] != first && text[at] != firstUpper) continue;
        if (EqualsNoCase(std::string_view(text).substr(at, name.size()), name)) return true;
    }
    return false;
}

}  // namespace

const std::string* Attribute(HtmlNode* node, const std::string& name) {
    if (!IsElement(node)) return nullptr;
    htmlcxx::HTML::Node& data = node->data;
    // An attribute name is a run of the tag's own letters, lowered: a tag whose
    // text does not hold the name has no such attribute, and needs no parsing.
    if (data.attributes().empty() && !ContainsNoCase(data.text(), name)) return nullptr;
    // Parsing is idempotent (later duplicates never replace a stored key), so an
    // element whose attributes were already read is not parsed again.
    if (data.attributes().empty()) data.parseAttributes();
    const auto& attributes = data.attributes();
    auto found = attributes.find(name);
    return found == attributes.end() ? nullptr : &found->second;
}

}  // namespace vantrel

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

const std::string* Attribute(HtmlNode* node, const std::string& name) {
    if (!IsElement(node)) return nullptr;
    htmlcxx::HTML::Node& data = node->data;
    // Parsing is idempotent (later duplicates never replace a stored key), so an
    // element whose attributes were already read is not parsed again.
    if (data.attributes().empty()) data.parseAttributes();
    const auto& attributes = data.attributes();
    auto found = attributes.find(name);
    return found == attributes.end() ? nullptr : &found->second;
}

}  // namespace vantrel

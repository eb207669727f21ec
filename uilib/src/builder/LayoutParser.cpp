#include "uilib/src/builder/LayoutParser.h"

#include <pugixml.hpp>

#include <algorithm>

#include "uilib/core/DuiString.h"

namespace UiLib::detail {

namespace {

// The line of a byte offset, counted from 1.
long LineOf(std::string_view text, std::ptrdiff_t offset) {
    const auto end = text.begin() + std::clamp<std::ptrdiff_t>(offset, 0, text.size());
    return 1 + static_cast<long>(std::count(text.begin(), end, '\n'));
}

// Copies an element and its descendants; false when they nest too deeply.
bool Convert(const pugi::xml_node& element, int depth, LayoutNode* out) {
    if (depth > kMaxLayoutDepth) return false;
    out->name = Utf8ToWide(element.name());
    for (const pugi::xml_attribute& a : element.attributes()) {
        out->attrs.emplace_back(Utf8ToWide(a.name()), Utf8ToWide(a.value()));
    }
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() != pugi::node_element) continue;
        out->children.emplace_back();
        if (!Convert(child, depth + 1, &out->children.back())) return false;
    }
    return true;
}

}  // namespace

const std::wstring* LayoutNode::Attr(std::wstring_view attrName) const {
    for (const auto& [name, value] : attrs) {
        if (name == attrName) return &value;
    }
    return nullptr;
}

bool ParseLayout(std::string_view utf8, LayoutNode* root, std::wstring* error) {
    pugi::xml_document doc;
    const pugi::xml_parse_result result =
        doc.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8);
    if (result.status == pugi::status_no_document_element) {
        *error = L"layout has no element";
        return false;
    }
    if (!result) {
        *error = L"malformed layout: " + Utf8ToWide(result.description()) + L" at line " +
                 std::to_wstring(LineOf(utf8, result.offset));
        return false;
    }
    const pugi::xml_node element = doc.document_element();
    if (!element) {
        *error = L"layout has no element";
        return false;
    }
    LayoutNode parsed;
    if (!Convert(element, 1, &parsed)) {
        *error = L"layout nests deeper than " + std::to_wstring(kMaxLayoutDepth) + L" elements";
        return false;
    }
    *root = std::move(parsed);
    return true;
}

}  // namespace UiLib::detail

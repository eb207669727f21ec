#pragma once

// Reading layout XML into a tree of elements, without building any control: the
// dialog builder turns the tree into controls, and tests can look at it alone.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace UiLib::detail {

// One element of a layout: its name, its attributes in document order, its child
// elements (text, comments and processing instructions are dropped).
struct LayoutNode {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> attrs;
    std::vector<LayoutNode> children;

    // The value of an attribute, or null when the element has none of that name.
    const std::wstring* Attr(std::wstring_view attrName) const;
};

// How deep elements may nest; deeper layouts are refused rather than built.
inline constexpr int kMaxLayoutDepth = 128;

// Parses UTF-8 layout text into the tree of its first top-level element. False with
// a reason in *error for text that is not well-formed XML, has no element, or nests
// deeper than kMaxLayoutDepth.
bool ParseLayout(std::string_view utf8, LayoutNode* root, std::wstring* error);

}  // namespace UiLib::detail

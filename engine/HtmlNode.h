#pragma once

// Read access to the nodes of an htmlcxx tree, with the comparisons the page
// extractors use. Nodes are addressed through the tree's own node links
// (parent, first/last child, previous/next sibling).

#include <htmlcxx/html/ParserDom.h>

#include <string>
#include <string_view>

namespace vantrel {

using HtmlNode = tree_node_<htmlcxx::HTML::Node>;

// ASCII case-insensitive equality of two whole names or values.
bool EqualsNoCase(std::string_view a, std::string_view b);

inline bool IsElement(const HtmlNode* node) {
    return node && node->data.isTag();
}

// True for an element whose tag name is `name`, ASCII case-insensitively.
inline bool HasTag(const HtmlNode* node, std::string_view name) {
    return IsElement(node) && EqualsNoCase(node->data.tagName(), name);
}

// The value of attribute `name` (lower case) of an element, or null when it has
// none. Parses the element's attributes first (Node::parseAttributes).
const std::string* Attribute(HtmlNode* node, const std::string& name);

// The text of a node's first child: the text inside an element. Null when the
// node has no children.
inline const std::string* FirstChildText(const HtmlNode* node) {
    return node->first_child ? &node->first_child->data.text() : nullptr;
}

// Result of visiting one node during a walk.
enum class Walk { kDescend, kSkipChildren, kStop };

// Visits every descendant of `block` (not `block` itself) in document order, each
// node before its children. `visit(node)` decides whether the walk enters the
// node's children or stops. Iterative: the depth of the tree costs no stack.
template <typename Visit>
void WalkBlock(HtmlNode* block, Visit&& visit) {
    HtmlNode* node = block->first_child;
    while (node) {
        const Walk step = visit(node);
        if (step == Walk::kStop) return;
        if (step == Walk::kDescend && node->first_child) {
            node = node->first_child;
            continue;
        }
        while (node != block && !node->next_sibling) node = node->parent;
        if (node == block) return;
        node = node->next_sibling;
    }
}

// The first node of the walk of `block` for which `match(node)` holds, or null.
template <typename Match>
HtmlNode* FindFirst(HtmlNode* block, Match&& match) {
    HtmlNode* found = nullptr;
    WalkBlock(block, [&](HtmlNode* node) {
        if (!match(node)) return Walk::kDescend;
        found = node;
        return Walk::kStop;
    });
    return found;
}

}  // namespace vantrel

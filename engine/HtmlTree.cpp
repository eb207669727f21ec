#include "engine/HtmlTree.h"

namespace vantrel {

// ParserDom keeps its tree in a protected member; the subclass reaches it to
// flatten the tree before ParserDom's destructor frees it.
class HtmlTree::Parser : public htmlcxx::HTML::ParserDom {
public:
    ~Parser() override { Flatten(); }

    HtmlNode* Root() { return mHtmlTree.begin().node; }

    // Parses an empty text: the tree then holds only its root.
    void ParseNothing() { parseTree(std::string()); }

private:
    // Moves the children of each node, in document order, up behind it: every
    // node then hangs directly below the root. Each node moves once.
    void Flatten() {
        if (mHtmlTree.begin() == mHtmlTree.end()) return;
        HtmlNode* root = Root();
        for (HtmlNode* node = root->first_child; node; node = node->next_sibling)
            mHtmlTree.flatten(tree<htmlcxx::HTML::Node>::iterator(node));
    }
};

HtmlTree::HtmlTree(const std::string& page, const PageLimits& limits)
    : parser_(std::make_unique<Parser>()) {
    parsed_ = ScanPage(page, limits).accepted;
    if (parsed_)
        parser_->parseTree(page);
    else
        parser_->ParseNothing();
    root_ = parser_->Root();
}

HtmlTree::~HtmlTree() = default;

size_t HtmlTree::nodeCount() const {
    size_t count = 0;
    WalkBlock(root_, [&](HtmlNode*) {
        ++count;
        return Walk::kDescend;
    });
    return count;
}

}  // namespace vantrel

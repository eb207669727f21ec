#pragma once

// One page parsed into an htmlcxx tree, guarded and safe to destroy.
//
// The page is first checked by ScanPage (PageGuard.h); a refused page yields an
// empty tree (the document root without children), which every extractor reads
// as a page without its block. The tree's own destructor frees nodes recursively,
// one stack frame per nesting level, so a page with many unclosed elements could
// overflow the stack; this class first moves every node up to the root in
// document order, in linear time, so that freeing never recurses more than once.

#include <memory>
#include <string>

#include "engine/HtmlNode.h"
#include "engine/PageGuard.h"

namespace vantrel {

class HtmlTree {
public:
    explicit HtmlTree(const std::string& page, const PageLimits& limits = {});
    ~HtmlTree();
    HtmlTree(const HtmlTree&) = delete;
    HtmlTree& operator=(const HtmlTree&) = delete;

    // The document root: a nameless element whose children are the page's
    // top-level nodes. Never null.
    HtmlNode* root() const { return root_; }

    // False when the pre-scan refused the page (the tree is then empty).
    bool parsed() const { return parsed_; }

    // Number of nodes below the root.
    size_t nodeCount() const;

private:
    class Parser;
    std::unique_ptr<Parser> parser_;
    HtmlNode* root_ = nullptr;
    bool parsed_ = false;
};

}  // namespace vantrel

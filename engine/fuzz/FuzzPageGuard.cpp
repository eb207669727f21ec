// Checks the pre-scan's model of htmlcxx against htmlcxx itself: for every input
// the scan must predict exactly the number of nodes of the real tree and exactly
// the link steps that the real tree building spends on end tags.

#include <strings.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/HtmlNode.h"
#include "engine/PageGuard.h"

namespace {

using htmlcxx::HTML::Node;
using vantrel::HtmlNode;

// Counts, before ParserDom handles an end tag, the steps it is about to spend:
// one per element walked up, plus the children moved by each flatten.
class CountingParser : public htmlcxx::HTML::ParserDom {
public:
    uint64_t steps = 0;

    size_t Nodes() { return mHtmlTree.size() - 1; }

    ~CountingParser() override {
        HtmlNode* root = mHtmlTree.begin().node;
        for (HtmlNode* node = root->first_child; node; node = node->next_sibling)
            mHtmlTree.flatten(tree<Node>::iterator(node));
    }

protected:
    void foundTag(Node node, bool isEnd) override {
        if (isEnd) {
            uint64_t walked = 0;
            uint64_t moved = 0;
            uint64_t carried = 0;
            bool found = false;
            for (HtmlNode* open = mCurrentState.node; open != mHtmlTree.begin().node;
                 open = open->parent) {
                ++walked;
                if (strcasecmp(open->data.tagName().c_str(), node.tagName().c_str()) == 0) {
                    found = true;
                    break;
                }
                uint64_t children = 0;
                for (HtmlNode* child = open->first_child; child; child = child->next_sibling)
                    ++children;
                // The previous flatten moved its children into this element.
                carried = children + carried;
                moved += carried;
            }
            steps += found ? walked + moved : walked;
        }
        ParserDom::foundTag(node, isEnd);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    vantrel::PageLimits unlimited;
    unlimited.maxNodes = UINT64_MAX;
    unlimited.maxSteps = UINT64_MAX;
    const vantrel::PageCost cost = vantrel::ScanPage(page, unlimited);
    CountingParser parser;
    parser.parseTree(page);
    if (cost.nodes != parser.Nodes()) __builtin_trap();
    if (cost.steps != parser.steps) __builtin_trap();
    return 0;
}

#include "engine/DetailPageParser.h"

#include <unordered_set>

#include "engine/HtmlTree.h"

namespace vantrel {
namespace {

constexpr char kClass[] = "class";
constexpr char kHref[] = "href";
constexpr char kSrc[] = "src";

// The first div of the page (in document order) whose whole class value is `value`.
HtmlNode* FindDivOfClass(HtmlNode* root, std::string_view value) {
    return FindFirst(root, [&](HtmlNode* node) {
        if (!HasTag(node, "div")) return false;
        const std::string* cls = Attribute(node, kClass);
        return cls && EqualsNoCase(*cls, value);
    });
}

std::string AttributeOrEmpty(HtmlNode* node, const std::string& name) {
    const std::string* value = node ? Attribute(node, name) : nullptr;
    return value ? *value : std::string();
}

}  // namespace

bool ParseMoviePage(const std::string& page, std::vector<PlaySource>* sources) {
    HtmlTree tree(page);
    HtmlNode* block = FindDivOfClass(tree.root(), "moviePlaySourceA");
    if (!block) return false;

    WalkBlock(block, [&](HtmlNode* link) {
        if (!HasTag(link, "a")) return Walk::kDescend;
        HtmlNode* last = link->last_child;
        if (!last || !last->prev_sibling) return Walk::kDescend;
        HtmlNode* before = last->prev_sibling;
        // Inside a list item the icon is wrapped: take the wrapper's first child. A
        // wrapper without children gives no icon.
        HtmlNode* icon = HasTag(link->parent, "li") ? before->first_child : before;
        PlaySource source;
        source.name = last->data.text();
        source.iconUrl = AttributeOrEmpty(icon, kSrc);
        source.links.push_back(AttributeOrEmpty(link, kHref));
        sources->push_back(std::move(source));
        return Walk::kDescend;
    });
    return true;
}

bool ParseSeriesPage(const std::string& page, std::vector<PlaySource>* sources) {
    HtmlTree tree(page);
    HtmlNode* area = FindDivOfClass(tree.root(), "playNumList");
    if (!area) return false;

    HtmlNode* tabBar = nullptr;
    std::vector<HtmlNode*> episodeBlocks;
    WalkBlock(area, [&](HtmlNode* node) {
        if (!HasTag(node, "div")) return Walk::kDescend;
        const std::string* cls = Attribute(node, kClass);
        if (!cls) return Walk::kDescend;
        if (EqualsNoCase(*cls, "playNumTab clearfix")) {
            tabBar = node;
            return Walk::kSkipChildren;
        }
        if (EqualsNoCase(*cls, "playNumCon")) {
            episodeBlocks.push_back(node);
            return Walk::kSkipChildren;
        }
        return Walk::kDescend;
    });
    // An episode area without a site tab bar names no site: nothing to append.
    if (!tabBar) return false;

    size_t tab = 0;
    bool complete = true;
    WalkBlock(tabBar, [&](HtmlNode* link) {
        if (!HasTag(link, "a")) return Walk::kDescend;
        HtmlNode* last = link->last_child;
        if (!last || !last->last_child || !last->prev_sibling) return Walk::kDescend;
        if (tab >= episodeBlocks.size()) {
            complete = false;
            return Walk::kStop;
        }
        PlaySource source;
        source.name = last->last_child->data.text();
        source.iconUrl = AttributeOrEmpty(last->prev_sibling, kSrc);
        CollectEpisodeLinks(episodeBlocks[tab], &source.links);
        ++tab;
        sources->push_back(std::move(source));
        return Walk::kDescend;
    });
    return complete;
}

void CollectEpisodeLinks(HtmlNode* block, std::vector<std::string>* links) {
    std::unordered_set<std::string> titles;
    WalkBlock(block, [&](HtmlNode* link) {
        if (!HasTag(link, "a")) return Walk::kDescend;
        const std::string* target = Attribute(link, "target");
        const std::string* href = Attribute(link, kHref);
        if (!target || !EqualsNoCase(*target, "_blank") || !href) return Walk::kDescend;
        const std::string* title = Attribute(link, "title");
        if (titles.insert(title ? *title : std::string()).second) links->push_back(*href);
        return Walk::kDescend;
    });
}

}  // namespace vantrel

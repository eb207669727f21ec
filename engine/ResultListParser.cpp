#include "engine/ResultListParser.h"

#include "engine/GbkTexts.h"
#include "engine/HtmlTree.h"

namespace vantrel {
namespace {

constexpr char kClass[] = "class";

void WalkPosterBlock(HtmlNode* block, SearchResult* record) {
    WalkBlock(block, [&](HtmlNode* node) {
        if (!IsElement(node)) return Walk::kDescend;
        if (HasTag(node, "img")) {
            if (const std::string* src = Attribute(node, "src")) record->posterUrl = *src;
            return Walk::kSkipChildren;
        }
        if (HasTag(node, "em")) {
            const std::string* cls = Attribute(node, kClass);
            const std::string* text = FirstChildText(node);
            if (cls && text) {
                if (EqualsNoCase(*cls, "left"))
                    record->badgeLeft = *text;
                else if (EqualsNoCase(*cls, "right"))
                    record->badgeRight = *text;
            }
        }
        return Walk::kDescend;
    });
}

// Acts on a label `em` of the text block; the next node is the label's sibling.
void ApplyLabel(const std::string& label, const HtmlNode* next, SearchResult* record,
                ListBudget* budget) {
    if (label == gbk::kActors) {
        CollectSiblingTexts(next, &record->actors, next->data.tagName(), budget);
    } else if (label == gbk::kDirectors) {
        CollectSiblingTexts(next, &record->directors, next->data.tagName(), budget);
    } else if (label == gbk::kSynopsis) {
        record->synopsis = next->data.text();
    } else if (label == gbk::kGenres) {
        CollectSiblingTexts(next, &record->genres, next->data.tagName(), budget);
    } else if (label == gbk::kRegion) {
        if (IsElement(next) && next->first_child) record->region = *FirstChildText(next);
    } else if (label == gbk::kYear) {
        if (IsElement(next) && next->first_child) record->year = *FirstChildText(next);
    }
}

void WalkTextBlock(HtmlNode* block, SearchResult* record, ListBudget* budget) {
    WalkBlock(block, [&](HtmlNode* node) {
        if (!IsElement(node)) return Walk::kDescend;
        if (HasTag(node, "em") && node->next_sibling && node->first_child) {
            ApplyLabel(*FirstChildText(node), node->next_sibling, record, budget);
            return Walk::kDescend;
        }
        const std::string* cls = Attribute(node, kClass);
        const std::string* text = FirstChildText(node);
        if (!cls || !text) return Walk::kDescend;
        if (*cls == "aVideoName") {
            record->name = *text;
            const std::string* href = Attribute(node, "href");
            record->detailUrl = href ? *href : std::string();
        } else if (*cls == "sVideoStyle") {
            record->category = *text;
        } else if (*cls == "sVideoScoreNum") {
            const HtmlNode* inner = node->first_child;
            if (IsElement(inner) && inner->first_child) record->score = *FirstChildText(inner);
        }
        return Walk::kDescend;
    });
}

}  // namespace

void CollectSiblingTexts(const HtmlNode* start, std::vector<std::string>* list,
                         const std::string& tagName, ListBudget* budget) {
    for (const HtmlNode* node = start;
         node && IsElement(node) && node->data.tagName() == tagName && node->first_child;
         node = node->next_sibling) {
        if (list->size() >= kMaxListEntries) return;
        const std::string& text = *FirstChildText(node);
        if (budget) {
            if (budget->entries == 0 || text.size() > budget->bytes) {
                budget->entries = 0;  // the page's allowance is spent: collect no more
                return;
            }
            --budget->entries;
            budget->bytes -= text.size();
        }
        list->push_back(text);
    }
}

void ParseResultItem(HtmlNode* item, SearchResult* record, ListBudget* budget) {
    HtmlNode* poster = nullptr;
    HtmlNode* text = nullptr;
    WalkBlock(item, [&](HtmlNode* node) {
        if (!HasTag(node, "div")) return Walk::kDescend;
        const std::string* cls = Attribute(node, kClass);
        if (!cls) return Walk::kDescend;
        if (EqualsNoCase(*cls, "pic_left")) {
            poster = node;
            return Walk::kSkipChildren;
        }
        if (EqualsNoCase(*cls, "txt_right")) {
            text = node;
            return Walk::kSkipChildren;
        }
        return Walk::kDescend;
    });
    // An item that lacks a block still yields its record, with that block's fields empty.
    if (poster) WalkPosterBlock(poster, record);
    if (text) WalkTextBlock(text, record, budget);
}

bool ParseResultList(const std::string& page, std::vector<SearchResult>* results) {
    HtmlTree tree(page);
    HtmlNode* list = FindFirst(tree.root(), [](HtmlNode* node) {
        if (!HasTag(node, "ul")) return false;
        const std::string* id = Attribute(node, "id");
        return id && EqualsNoCase(*id, "searchlist");
    });
    if (!list) return false;

    std::vector<HtmlNode*> items;
    WalkBlock(list, [&](HtmlNode* node) {
        if (!HasTag(node, "li")) return Walk::kDescend;
        items.push_back(node);
        return items.size() < kMaxResultItems ? Walk::kSkipChildren : Walk::kStop;
    });
    results->reserve(results->size() + items.size());
    ListBudget budget;
    for (HtmlNode* item : items) {
        SearchResult record;
        ParseResultItem(item, &record, &budget);
        results->push_back(std::move(record));
    }
    return true;
}

}  // namespace vantrel

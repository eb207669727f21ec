#include "engine/PageGuard.h"

#include <cctype>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel {
namespace {

// Tags whose content htmlcxx reads as literal text up to their own end tag.
constexpr const char* kLiteralTags[] = {"script", "style", "xmp", "plaintext", "textarea"};

// The tree model: the chain of open elements, each with its number of children.
class TreeModel {
public:
    explicit TreeModel(const PageLimits& limits) : limits_(limits) {
        open_.push_back({0, 0});  // the document root
        ids_.reserve(64);
    }

    void Leaf() {
        ++cost_.nodes;
        ++open_.back().children;
    }

    void StartTag(std::string_view name) {
        Leaf();
        const uint32_t id = Intern(name);
        open_.push_back({id, 0});
        ++openCount_[id];
        if (open_.size() - 1 > cost_.maxDepth) cost_.maxDepth = open_.size() - 1;
    }

    void EndTag(std::string_view name) {
        const uint32_t id = Intern(name);
        if (openCount_[id] == 0) {
            // No open element matches: the walk reaches the root, and the end tag
            // becomes a comment node.
            cost_.steps += open_.size() - 1;
            Leaf();
            return;
        }
        // Walk up to the match; every element passed on the way is flattened
        // (its children move up to its parent).
        while (true) {
            Element element = open_.back();
            open_.pop_back();
            --openCount_[element.id];
            ++cost_.steps;
            if (element.id == id) break;
            cost_.steps += element.children;
            open_.back().children += element.children;
        }
    }

    bool WithinLimits() const {
        return cost_.nodes <= limits_.maxNodes && cost_.steps <= limits_.maxSteps;
    }

    PageCost Result() {
        cost_.accepted = WithinLimits();
        return cost_;
    }

private:
    struct Element {
        uint32_t id;
        uint64_t children;
    };

    // Tag names compare like strcasecmp, so they are keyed in lower case.
    uint32_t Intern(std::string_view name) {
        key_.assign(name);
        for (char& ch : key_) ch = static_cast<char>(::tolower(static_cast<unsigned char>(ch)));
        auto [it, added] = ids_.try_emplace(key_, static_cast<uint32_t>(openCount_.size()));
        if (added) openCount_.push_back(0);
        return it->second;
    }

    const PageLimits& limits_;
    PageCost cost_;
    std::vector<Element> open_;
    std::vector<uint64_t> openCount_;
    std::unordered_map<std::string, uint32_t> ids_;
    std::string key_;
};

// The tokeniser below follows htmlcxx's ParserSax::parse step by step, over the
// same bytes (the page's terminating zero included, which htmlcxx reads at the end).
const char* SkipTag(const char* c, const char* end) {
    while (c != end && *c != '>') {
        if (*c != '=') {
            ++c;
            continue;
        }
        ++c;
        while (c != end && isspace(*c)) ++c;
        if (c == end) break;
        if (*c == '"' || *c == '\'') {
            const char* save = c;
            const char quote = *c++;
            const void* close = memchr(c, quote, static_cast<size_t>(end - c));
            c = close ? static_cast<const char*>(close) : end;
            if (c != end)
                ++c;
            else
                c = save + 1;
        }
    }
    if (c != end) ++c;
    return c;
}

const char* SkipComment(const char* c, const char* end) {
    while (c != end) {
        if (*c++ == '-' && c != end && *c == '-') {
            const char* d = c;
            while (++c != end && isspace(*c)) {
            }
            if (c == end || *c++ == '>') break;
            c = d;
        }
    }
    return c;
}

class Scanner {
public:
    Scanner(TreeModel& model) : model_(model) {}

    void Run(const char* begin, const char* end) {
        while (begin != end) {
            const char* c = begin;
            while (c != end) {
                while (literal_) {
                    const void* lt = memchr(c, '<', static_cast<size_t>(end - c));
                    c = lt ? static_cast<const char*>(lt) : end;
                    if (c == end) {
                        if (c != begin) model_.Leaf();
                        return;
                    }
                    const char* endText = c;
                    ++c;
                    if (*c == '/') {
                        ++c;
                        const char* l = literal_;
                        while (*l && ::tolower(*c) == *l) {
                            ++c;
                            ++l;
                        }
                        if (!*l && strcmp(literal_, "plaintext") != 0) {
                            while (isspace(*c)) ++c;
                            if (*c == '>') {
                                if (begin != endText) model_.Leaf();
                                literal_ = nullptr;
                                c = endText;
                                begin = c;
                                break;
                            }
                        }
                    } else if (*c == '!') {
                        const char* e = c + 1;
                        if (e != end && *e == '-' && ++e != end && *e == '-') {
                            ++e;
                            c = SkipComment(e, end);
                        }
                    }
                }
                if (*c == '<') {
                    const char* d = c + 1;
                    if (d != end) {
                        if (isalpha(*d)) {
                            if (begin != c) model_.Leaf();
                            d = SkipTag(d, end);
                            Tag(c, d);
                            c = begin = d;
                            break;
                        }
                        if (*d == '/') {
                            if (begin != c) model_.Leaf();
                            const char* e = d + 1;
                            const bool endTag = e != end && isalpha(*e);
                            d = SkipTag(d, end);
                            if (endTag)
                                Tag(c, d);
                            else
                                model_.Leaf();  // read as a comment
                            c = begin = d;
                            break;
                        }
                        if (*d == '!') {
                            if (begin != c) model_.Leaf();
                            const char* e = d + 1;
                            if (e != end && *e == '-' && ++e != end && *e == '-')
                                d = SkipComment(e + 1, end);
                            else
                                d = SkipTag(d, end);
                            model_.Leaf();
                            c = begin = d;
                            break;
                        }
                        if (*d == '?' || *d == '%') {
                            if (begin != c) model_.Leaf();
                            d = SkipTag(d, end);
                            model_.Leaf();
                            c = begin = d;
                            break;
                        }
                    }
                    ++c;
                    continue;
                }
                // Plain text up to the next '<'.
                const void* lt = memchr(c, '<', static_cast<size_t>(end - c));
                c = lt ? static_cast<const char*>(lt) : end;
            }
            if (begin != c) {
                model_.Leaf();
                begin = c;
            }
            if (!model_.WithinLimits()) return;
        }
    }

private:
    void Tag(const char* b, const char* c) {
        const char* nameBegin = b + 1;
        const bool isEnd = *nameBegin == '/';
        if (isEnd) ++nameBegin;
        const char* nameEnd = nameBegin;
        while (nameEnd != c && isalnum(*nameEnd)) ++nameEnd;
        const std::string_view name(nameBegin, static_cast<size_t>(nameEnd - nameBegin));
        if (isEnd) {
            model_.EndTag(name);
            return;
        }
        for (const char* literal : kLiteralTags) {
            if (name.size() == strlen(literal) &&
                strncasecmp(name.data(), literal, name.size()) == 0) {
                literal_ = literal;
                break;
            }
        }
        model_.StartTag(name);
    }

    TreeModel& model_;
    const char* literal_ = nullptr;
};

}  // namespace

PageCost ScanPage(const std::string& page, const PageLimits& limits) {
    TreeModel model(limits);
    if (page.size() > limits.maxBytes) {
        PageCost refused = model.Result();
        refused.accepted = false;
        return refused;
    }
    Scanner(model).Run(page.c_str(), page.c_str() + page.size());
    return model.Result();
}

}  // namespace vantrel

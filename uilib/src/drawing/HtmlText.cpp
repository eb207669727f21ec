#include "uilib/src/drawing/HtmlText.h"

#include <algorithm>

#include "uilib/core/Defines.h"
#include "uilib/core/FontInfo.h"
#include "uilib/src/Backend.h"
#include "uilib/src/text/AttributeValues.h"

namespace UiLib::detail {

namespace {

enum class TagKind { None, OpenFont, CloseFont, OpenColor, CloseColor, OpenBold, CloseBold, Break };

struct Token {
    TagKind kind = TagKind::None;
    std::wstring text;  // the tag's own text (kept when it stays plain)
    int font = -1;
    unsigned color = 0;
    bool matched = false;
};

// Reads one tag starting at text[pos] == '{'; returns its length or 0.
size_t ReadTag(const std::wstring& text, size_t pos, Token* tag) {
    const size_t close = text.find(L'}', pos);
    if (close == std::wstring::npos) return 0;
    std::wstring body = text.substr(pos + 1, close - pos - 1);
    tag->text = text.substr(pos, close - pos + 1);
    if (body == L"/f") {
        tag->kind = TagKind::CloseFont;
    } else if (body == L"/c") {
        tag->kind = TagKind::CloseColor;
    } else if (body == L"b") {
        tag->kind = TagKind::OpenBold;
    } else if (body == L"/b") {
        tag->kind = TagKind::CloseBold;
    } else if (body == L"n") {
        tag->kind = TagKind::Break;
    } else if (body.size() > 2 && body[0] == L'f' && body[1] == L' ') {
        const std::wstring n = body.substr(2);
        if (n.empty() ||
            !std::all_of(n.begin(), n.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }) ||
            n.size() > 6) {
            return 0;
        }
        tag->kind = TagKind::OpenFont;
        tag->font = std::stoi(n);
    } else if (body.size() > 2 && body[0] == L'c' && body[1] == L' ') {
        const std::wstring c = body.substr(2);
        if (c.empty() || c[0] != L'#') return 0;
        tag->kind = TagKind::OpenColor;
        tag->color = ParseColor(c.c_str());
        if (c.size() == 7) tag->color |= 0xFF000000;
    } else {
        return 0;
    }
    return close - pos + 1;
}

bool Opens(TagKind k) {
    return k == TagKind::OpenFont || k == TagKind::OpenColor || k == TagKind::OpenBold;
}

TagKind Partner(TagKind k) {
    switch (k) {
        case TagKind::CloseFont:
            return TagKind::OpenFont;
        case TagKind::CloseColor:
            return TagKind::OpenColor;
        case TagKind::CloseBold:
            return TagKind::OpenBold;
        default:
            return TagKind::None;
    }
}

bool IsCjk(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x3000 && c <= 0x303F);
}

struct Piece {
    std::wstring text;
    const TFontInfo* font;
    DWORD color;
    int width;
};

struct Line {
    std::vector<Piece> pieces;
    int width = 0;
    int ascent = 0;
    int descent = 0;
};

}  // namespace

std::vector<TextRun> ParseMarkup(const std::wstring& text, int baseFont) {
    // Tokenise into text and tags.
    std::vector<Token> tokens;
    size_t pos = 0;
    std::wstring plain;
    auto flushPlain = [&] {
        if (plain.empty()) return;
        Token t;
        t.text = std::move(plain);
        plain.clear();
        tokens.push_back(std::move(t));
    };
    while (pos < text.size()) {
        if (text[pos] == L'{') {
            Token tag;
            if (const size_t len = ReadTag(text, pos, &tag)) {
                flushPlain();
                tokens.push_back(std::move(tag));
                pos += len;
                continue;
            }
        }
        plain += text[pos++];
    }
    flushPlain();

    // Pair opening and closing tags; the rest stays text.
    std::vector<size_t> stack;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const TagKind k = tokens[i].kind;
        if (k == TagKind::Break) {
            tokens[i].matched = true;
        } else if (Opens(k)) {
            stack.push_back(i);
        } else if (k != TagKind::None) {
            if (!stack.empty() && tokens[stack.back()].kind == Partner(k)) {
                tokens[stack.back()].matched = true;
                tokens[i].matched = true;
                stack.pop_back();
            }
        }
    }

    struct Style {
        int font;
        bool bold;
        bool hasColor;
        unsigned color;
    };
    std::vector<Style> styles{{baseFont, false, false, 0}};
    std::vector<TextRun> runs;
    auto emitText = [&](const std::wstring& s) {
        if (s.empty()) return;
        const Style& st = styles.back();
        if (!runs.empty() && !runs.back().lineBreak && runs.back().font == st.font &&
            runs.back().bold == st.bold && runs.back().hasColor == st.hasColor &&
            runs.back().color == st.color) {
            runs.back().text += s;
            return;
        }
        TextRun r;
        r.text = s;
        r.font = st.font;
        r.bold = st.bold;
        r.hasColor = st.hasColor;
        r.color = st.color;
        runs.push_back(std::move(r));
    };
    for (const Token& t : tokens) {
        if (t.kind == TagKind::None || !t.matched) {
            emitText(t.text);
            continue;
        }
        Style st = styles.back();
        switch (t.kind) {
            case TagKind::OpenFont:
                st.font = t.font;
                st.bold = false;
                styles.push_back(st);
                break;
            case TagKind::OpenColor:
                st.hasColor = true;
                st.color = t.color;
                styles.push_back(st);
                break;
            case TagKind::OpenBold:
                st.bold = true;
                styles.push_back(st);
                break;
            case TagKind::Break: {
                TextRun r;
                r.lineBreak = true;
                runs.push_back(r);
                break;
            }
            default:
                if (styles.size() > 1) styles.pop_back();
                break;
        }
    }
    return runs;
}

SIZE LayoutRuns(UiDC* dc, const CPaintManagerUI* manager, const std::vector<TextRun>& runs,
                const RECT& rc, unsigned baseColor, unsigned style) {
    backend::Backend* b = backend::CurrentBackend();
    if (!b) return SIZE{};
    const bool wrap = (style & DT_WORDBREAK) && !(style & DT_SINGLELINE);
    const int maxWidth = std::max(0, static_cast<int>(RectWidth(rc)));
    std::vector<TFontInfo> boldFonts;  // storage for bold variants
    boldFonts.reserve(runs.size());

    std::vector<Line> lines(1);
    auto growLine = [&](Line& line, const TFontInfo& font) {
        const backend::Backend::FontMetrics m = b->MetricsOf(font);
        line.ascent = std::max(line.ascent, m.ascent);
        line.descent = std::max(line.descent, m.descent);
    };
    auto addPiece = [&](Piece piece) {
        Line& line = lines.back();
        growLine(line, *piece.font);
        line.width += piece.width;
        if (!line.pieces.empty() && line.pieces.back().font == piece.font &&
            line.pieces.back().color == piece.color) {
            line.pieces.back().text += piece.text;
            line.pieces.back().width += piece.width;
        } else {
            line.pieces.push_back(std::move(piece));
        }
    };

    for (const TextRun& run : runs) {
        if (run.lineBreak) {
            if (lines.back().pieces.empty()) growLine(lines.back(), FontInfoOf(manager, -1));
            lines.emplace_back();
            continue;
        }
        const TFontInfo* font = &FontInfoOf(manager, run.font);
        if (run.bold && !font->bBold) {
            boldFonts.push_back(*font);
            boldFonts.back().bBold = true;
            font = &boldFonts.back();
        }
        const DWORD color = run.hasColor ? run.color : baseColor;
        if (!wrap) {
            addPiece(Piece{run.text, font, color, b->TextWidth(*font, run.text)});
            continue;
        }
        // Words: runs of non-space characters with their trailing spaces; every CJK
        // character is a word of its own.
        size_t i = 0;
        while (i < run.text.size()) {
            size_t j = i;
            if (IsCjk(run.text[j])) {
                ++j;
            } else {
                while (j < run.text.size() && run.text[j] != L' ' && !IsCjk(run.text[j])) ++j;
            }
            while (j < run.text.size() && run.text[j] == L' ') ++j;
            if (j == i) ++j;
            std::wstring word = run.text.substr(i, j - i);
            const int w = b->TextWidth(*font, word);
            if (lines.back().width > 0 && lines.back().width + w > maxWidth) lines.emplace_back();
            addPiece(Piece{std::move(word), font, color, w});
            i = j;
        }
    }

    int totalHeight = 0;
    int totalWidth = 0;
    for (Line& line : lines) {
        if (line.ascent == 0 && line.descent == 0) growLine(line, FontInfoOf(manager, -1));
        totalHeight += line.ascent + line.descent;
        totalWidth = std::max(totalWidth, line.width);
    }
    if (!dc) return SIZE{totalWidth, totalHeight};

    int y = rc.top;
    if (style & DT_VCENTER) {
        y = rc.top + (RectHeight(rc) - totalHeight) / 2;
    } else if (style & DT_BOTTOM) {
        y = rc.bottom - totalHeight;
    }
    dc->PushClip(rc);
    for (const Line& line : lines) {
        int x = rc.left;
        if (style & DT_CENTER) {
            x = rc.left + (RectWidth(rc) - line.width) / 2;
        } else if (style & DT_RIGHT) {
            x = rc.right - line.width;
        }
        const int baseline = y + line.ascent;
        for (const Piece& piece : line.pieces) {
            dc->DrawTextRun(POINT{x, baseline}, piece.text, *piece.font, piece.color);
            x += piece.width;
        }
        y += line.ascent + line.descent;
    }
    dc->PopClip();
    return SIZE{totalWidth, totalHeight};
}

}  // namespace UiLib::detail

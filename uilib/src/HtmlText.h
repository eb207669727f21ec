#pragma once

// The inline text markup: {f n}…{/f} font, {c #AARRGGBB}…{/c} colour, {b}…{/b} bold,
// {n} line break. Tags that are unknown or have no partner stay plain text.

#include <QColor>
#include <QFont>
#include <QRect>
#include <string>
#include <vector>

class QPainter;

namespace UiLib {
class CPaintManagerUI;
}

namespace UiLib::detail {

struct TextRun {
    std::wstring text;
    int font = -1;      // font id, -1: the control's font
    bool bold = false;  // {b} on top of the font
    bool hasColor = false;
    unsigned color = 0;
    bool lineBreak = false;  // a {n}: text is empty
};

// Parses markup into runs, with the control's font and colour as the outer style.
std::vector<TextRun> ParseMarkup(const std::wstring& text, int baseFont);

// Lays out and (with a painter) draws runs inside rc with DT_* style; returns the size
// the text occupies.
QSize LayoutRuns(QPainter* painter, const CPaintManagerUI* manager,
                 const std::vector<TextRun>& runs, const QRect& rc, unsigned baseColor,
                 unsigned style);

}  // namespace UiLib::detail

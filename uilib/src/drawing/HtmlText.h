#pragma once

// The inline text markup: {f n}…{/f} font, {c #AARRGGBB}…{/c} colour, {b}…{/b} bold,
// {n} line break. Tags that are unknown or have no partner stay plain text.

#include <string>
#include <vector>

#include "uilib/core/Win32Types.h"

namespace UiLib {
class CPaintManagerUI;
struct TFontInfo;
}  // namespace UiLib

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

// Lays out and (with a surface) draws runs inside rc with DT_* style; returns the size
// the text occupies. Measures with the installed backend (0,0 without one).
SIZE LayoutRuns(UiDC* dc, const CPaintManagerUI* manager, const std::vector<TextRun>& runs,
                const RECT& rc, unsigned baseColor, unsigned style);

// The font of a manager's id (-1: its default), or the fallback font without a manager.
const TFontInfo& FontInfoOf(const CPaintManagerUI* manager, int id);

}  // namespace UiLib::detail

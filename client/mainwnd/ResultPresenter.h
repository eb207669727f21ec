#pragma once

// Presentation of result items: one page per show in "tlSearchResult", the column of
// page-select buttons, the information panel, the source buttons and the episode
// blocks, and the waiting animation.

#include <string>

#include "uilib/UiLib.h"

class CTrovik;
struct ResultItem;

// One result page. Its position among the pages of "tlSearchResult" is its index in
// the main window's result items (MainModel::resultItems).
class CTrovikResultItemUI : public UiLib::CVerticalLayoutUI {
public:
    CTrovikResultItemUI();
    ~CTrovikResultItemUI() override;
    // Answers "TrovikResultItem" (any letter case) with the page itself.
    UiLib::LPVOID GetInterface(UiLib::LPCTSTR pstrName) override;
    // A page tab named after the show, described by its fields (score, quality, year,
    // director, genre, episodes, cast, synopsis); selected while it is the page shown.
    UiLib::AccessInfo DescribeForAccessibility() override;

    int sourceIndex = 0;    // which play source's links are shown; negative reads as 0
    int blockIndex = 0;     // which block of episode links is shown; negative reads as 0
    int linksPerBlock = 8;  // fixed at creation
};

// Rebuilds the page-select column for `count` engine results (nothing when count < 1).
void BuildSelectButtons(CTrovik& wnd, int count);

// Adds one page for `item` and fills it; false when item is null or "OneTvInfo"
// cannot be built. The poster is taken from the cache only (the search worker has
// fetched it, or it failed and the page keeps its placeholder).
bool BuildResultPage(CTrovik& wnd, const ResultItem* item);

// Redraws the episode buttons of the page's current source and block.
void RenderBlock(CTrovik& wnd, CTrovikResultItemUI* page);

// One frame of the waiting animation (timer 2029).
void StepWaitingAnimation(CTrovik& wnd);

// Placeholder definitions of the search flow and the result presentation, so the main
// window links and runs until those modules are merged: no search starts, no page is
// built, and the result list stays empty. This file goes away with that merge.

#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchFlow.h"

std::vector<ResultItem>& ResultItems() {
    static std::vector<ResultItem> items;
    return items;
}

void StartSearch(CTrovik&) {}

void OnSearchEmpty(CTrovik&) {}

void OnSearchItem(CTrovik&, const ResultItem*, int) {}

CTrovikResultItemUI::CTrovikResultItemUI() = default;

CTrovikResultItemUI::~CTrovikResultItemUI() = default;

UiLib::LPVOID CTrovikResultItemUI::GetInterface(UiLib::LPCTSTR pstrName) {
    if (UiLib::EqualsNoCase(pstrName, L"TrovikResultItem")) return this;
    return UiLib::CVerticalLayoutUI::GetInterface(pstrName);
}

void BuildSelectButtons(CTrovik&, int) {}

bool BuildResultPage(CTrovik&, const ResultItem*) {
    return false;
}

void RenderBlock(CTrovik&, CTrovikResultItemUI*) {}

std::wstring PosterFile(const std::string&) {
    return L"";
}

void StepWaitingAnimation(CTrovik&) {}

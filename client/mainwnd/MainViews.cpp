#include "client/mainwnd/MainViews.h"

#include <array>

using namespace UiLib;

namespace {

enum Show : unsigned char { kHide, kShow, kKeep };

// One row per view: start, searching, no-result, result pages, select column.
constexpr std::array<std::array<Show, 5>, 5> kViewTable = {{
    /* Opening   */ {kShow, kHide, kKeep, kHide, kHide},
    /* Start     */ {kShow, kHide, kHide, kHide, kHide},
    /* Searching */ {kHide, kShow, kHide, kHide, kHide},
    /* NoResult  */ {kHide, kHide, kShow, kHide, kHide},
    /* Results   */ {kHide, kHide, kHide, kShow, kShow},
}};

}  // namespace

void ShowView(const MainControls& controls, MainView view) {
    CControlUI* const views[5] = {controls.startView, controls.searchingView, controls.noResultView,
                                  controls.resultView, controls.selectColumn};
    const auto& row = kViewTable[static_cast<size_t>(view)];
    for (size_t i = 0; i < row.size(); ++i) {
        if (views[i] && row[i] != kKeep) views[i]->SetVisible(row[i] == kShow);
    }
}

bool IsViewVisible(const CControlUI* view) {
    return view && view->IsVisible();
}

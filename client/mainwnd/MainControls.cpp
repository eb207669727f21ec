#include "client/mainwnd/MainControls.h"

using namespace UiLib;

void MainControls::FindIn(CPaintManagerUI& manager) {
    searchBox = static_cast<CEditUI*>(manager.FindControl(L"edtSearchText"));
    historyHost = static_cast<CContainerUI*>(manager.FindControl(L"hlSearchResult"));
    bannerFront = static_cast<CContainerUI*>(manager.FindControl(L"hlTopHotTvLst1"));
    bannerBack = static_cast<CContainerUI*>(manager.FindControl(L"hlTopHotTvLst2"));
    resultView = manager.FindControl(L"vlSearchResult");
    searchingView = manager.FindControl(L"vlSearching");
    noResultView = manager.FindControl(L"vlNoFindResult");
    startView = manager.FindControl(L"vlTvHistory");
    resultTabs = static_cast<CTabLayoutUI*>(manager.FindControl(L"tlSearchResult"));
    selectColumn = static_cast<CContainerUI*>(manager.FindControl(L"vlSelectResult"));
}

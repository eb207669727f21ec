// CTrovik::Notify: what each click, Enter key and focus change of the main window does.

#include <climits>
#include <cstdint>
#include <vector>

#include "client/dialogs/ClientDialogs.h"
#include "client/mainwnd/HotLists.h"
#include "client/mainwnd/MainViews.h"
#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchFlow.h"
#include "client/mainwnd/Trovik.h"
#include "platform/OpenUrl.h"

using namespace UiLib;

namespace {

bool StartsWith(const CDuiString& text, const wchar_t* prefix) {
    return text.str().starts_with(prefix);
}

// Links open in the user's browser; one that cannot be opened is ignored.
void OpenLink(const CDuiString& url) {
    platform::OpenUrl(WideToUtf8(url.str()));
}

// The result page shown in "tlSearchResult", or null.
CTrovikResultItemUI* SelectedPage(CTrovik& wnd) {
    if (!wnd.resultTabs) return nullptr;
    CControlUI* page = wnd.resultTabs->GetItemAt(wnd.resultTabs->GetCurSel());
    if (!page) return nullptr;
    return static_cast<CTrovikResultItemUI*>(page->GetInterface(L"TrovikResultItem"));
}

void OnLinkClick(const CDuiString& name, CControlUI* sender) {
    const bool isLink = StartsWith(name, L"btnLinkSite") || StartsWith(name, L"btnHot") ||
                        StartsWith(name, L"btnHistory") || name == L"btnLinkTv";
    if (isLink && !sender->GetUserData().IsEmpty()) OpenLink(sender->GetUserData());
}

void OnCommandClick(CTrovik& wnd, const CDuiString& name, CControlUI* sender) {
    if (StartsWith(name, L"btnSelectTv")) {
        if (wnd.resultTabs) wnd.resultTabs->SelectItem(static_cast<int>(sender->GetTag()));
    } else if (name == L"btnAppSet") {
        OpenSettings(wnd.GetHWND());
    } else if (name == L"btnSetSkin") {
        OpenSkinDialog(wnd);
    } else if (name == L"btnScrollTv") {
        std::vector<HotEntry>& hot = HotEntries();
        if (!hot.empty()) {
            // The list may have shrunk since the banner last moved.
            if (wnd.bannerIndex >= hot.size()) wnd.bannerIndex = 0;
            OpenLink(hot[wnd.bannerIndex].url);
        }
    } else if (name == L"BtnQuit") {
        SendMessageW(wnd.GetHWND(), WM_CLOSE, 0, 1);
    } else if (name == L"btnSearch") {
        StartSearch(wnd);
    } else if (name == L"btnSource") {
        if (CTrovikResultItemUI* page = SelectedPage(wnd)) {
            const auto tag = static_cast<std::intptr_t>(sender->GetTag());
            page->blockIndex = 0;
            page->sourceIndex = tag < 0 || tag > INT_MAX ? 0 : static_cast<int>(tag);
            RenderBlock(wnd, page);
        }
    } else if (name == L"btnDetails") {
        OpenLink(sender->GetUserData());
    } else if (name == L"btnPriorTv") {
        if (CTrovikResultItemUI* page = SelectedPage(wnd); page && page->blockIndex > 0) {
            --page->blockIndex;
            RenderBlock(wnd, page);
        }
    } else if (name == L"btnNextBlock") {
        if (CTrovikResultItemUI* page = SelectedPage(wnd)) {
            const int current = page->blockIndex < 0 ? 0 : page->blockIndex;
            page->blockIndex = current == INT_MAX ? 0 : current + 1;
            RenderBlock(wnd, page);
        }
    }
}

void ShowStartView(CTrovik& wnd) {
    SetViewVisible(wnd.searchingView, false);
    SetViewVisible(wnd.noResultView, false);
    SetViewVisible(wnd.resultView, false);
    SetViewVisible(wnd.startView, true);
    SetViewVisible(wnd.selectColumn, false);
}

}  // namespace

void CTrovik::Notify(TNotifyUI& msg) {
    CControlUI* sender = msg.pSender;
    if (sender) {
        const CDuiString name = sender->GetName();
        if (msg.sType == DUI_MSGTYPE_CLICK) {
            OnLinkClick(name, sender);
            OnCommandClick(*this, name, sender);
        } else if (msg.sType == DUI_MSGTYPE_RETURN) {
            if (name == L"edtSearchText" && !sender->GetText().IsEmpty()) StartSearch(*this);
        } else if (msg.sType == DUI_MSGTYPE_KILLFOCUS) {
            if (name == L"ctNoFindResult" && historyHost) {
                historyHost->RemoveAll();
                if (CControlUI* history = CreateSubLayout(L"TvHistory")) {
                    historyHost->Add(history);
                    // The fresh sample buttons get their links again.
                    RefreshPanelButtons(*this);
                }
            }
            if (name == L"edtSearchText" && sender->GetText().IsEmpty()) {
                sender->SetText(kSearchHint);
            }
        } else if (msg.sType == DUI_MSGTYPE_SETFOCUS) {
            if (name == L"edtSearchText") {
                if (sender->GetText() == kSearchHint) sender->SetText(L"");
                if (IsViewVisible(noResultView)) ShowStartView(*this);
            }
        }
    }
    CMsFrameWnd::Notify(msg);
}

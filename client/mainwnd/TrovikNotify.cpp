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
    CTabLayoutUI* tabs = wnd.controls().resultTabs;
    if (!tabs) return nullptr;
    CControlUI* page = tabs->GetItemAt(tabs->GetCurSel());
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
        if (CTabLayoutUI* tabs = wnd.controls().resultTabs) {
            tabs->SelectItem(static_cast<int>(sender->GetTag()));
        }
    } else if (name == L"btnAppSet") {
        OpenSettings(wnd.GetHWND());
    } else if (name == L"btnSetSkin") {
        OpenSkinDialog(wnd);
    } else if (name == L"btnScrollTv") {
        const std::vector<HotEntry>& hot = wnd.model().lists.hot;
        std::uint8_t& shown = wnd.model().banner.bannerIndex;
        if (!hot.empty()) {
            // The list may have shrunk since the banner last moved.
            if (shown >= hot.size()) shown = 0;
            OpenLink(hot[shown].url);
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
    } else if (name == L"btnPriorTv" || name == L"btnNextBlock") {
        const bool hadFocus = sender->IsFocused();
        CTrovikResultItemUI* page = SelectedPage(wnd);
        wnd.StepEpisodeBlock(name == L"btnPriorTv" ? -1 : 1);
        // The block's buttons are made anew: the keyboard stays on the arrow it pressed.
        if (hadFocus && page) {
            if (CControlUI* again = wnd.GetPaintManager().FindSubControlByName(page, name)) {
                again->SetFocus();
            }
        }
    }
}

}  // namespace

void CTrovik::StepEpisodeBlock(int step) {
    CTrovikResultItemUI* page = SelectedPage(*this);
    if (!page) return;
    if (step < 0) {
        if (page->blockIndex <= 0) return;
        --page->blockIndex;
    } else {
        const int current = page->blockIndex < 0 ? 0 : page->blockIndex;
        page->blockIndex = current == INT_MAX ? 0 : current + 1;
    }
    RenderBlock(*this, page);
}

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
            if (name == L"ctNoFindResult" && controls_.historyHost) {
                controls_.historyHost->RemoveAll();
                if (CControlUI* history = CreateSubLayout(L"TvHistory")) {
                    controls_.historyHost->Add(history);
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
                if (IsViewVisible(controls_.noResultView)) ShowView(controls_, MainView::Start);
            }
        }
    }
    CMsFrameWnd::Notify(msg);
}

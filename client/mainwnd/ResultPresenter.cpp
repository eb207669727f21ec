#include "client/mainwnd/ResultPresenter.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "client/mainwnd/PosterCache.h"
#include "client/mainwnd/ResultItem.h"
#include "client/mainwnd/ResultText.h"
#include "client/mainwnd/Trovik.h"
#include "common/TextCodec.h"

using namespace UiLib;

namespace {

constexpr int kMaxSourceButtons = 5;
constexpr int kSourceWidth = 40;
constexpr int kEpisodeWidth = 44;
constexpr int kEpisodeLeft = 19;
constexpr DWORD kEpisodeText = 0xFF8C8C8C;
constexpr DWORD kEpisodeHotText = 0xFFCCCCCC;

std::wstring PosText(long long l, long long t, long long r, long long b) {
    return std::to_wstring(l) + L"," + std::to_wstring(t) + L"," + std::to_wstring(r) + L"," +
           std::to_wstring(b);
}

CControlUI* Sub(CTrovik& wnd, CControlUI* parent, LPCTSTR name) {
    return wnd.GetPaintManager().FindSubControlByName(parent, name);
}

void SetAnsiText(CTrovik& wnd, CControlUI* page, LPCTSTR name, const std::string& text) {
    if (CControlUI* c = Sub(wnd, page, name)) c->SetText(AnsiToWide(text).c_str());
}

// The page's item: entry `index of the page` of the model's result items, or null.
const ResultItem* ItemOf(CTrovik& wnd, CTrovikResultItemUI* page) {
    CTabLayoutUI* tabs = wnd.controls().resultTabs;
    if (!tabs || !page) return nullptr;
    const int index = tabs->GetItemIndex(page);
    const std::vector<ResultItem>& items = wnd.model().resultItems;
    if (index < 0 || index >= static_cast<int>(items.size())) return nullptr;
    return &items[index];
}

void AddSourceButtons(CTrovik& wnd, CControlUI* page, const ResultItem& item, int pageNumber) {
    const int shown = std::min<int>(static_cast<int>(item.sources.size()), kMaxSourceButtons);
    for (int i = 0; i < shown; ++i) {
        CControlUI* boxControl = Sub(wnd, page, L"ctTvSource");
        auto* box = boxControl ? static_cast<CContainerUI*>(boxControl->GetInterface(L"Container"))
                               : nullptr;
        if (!box) return;
        CControlUI* row = wnd.CreateSubLayout(L"OneTvSource");
        if (!row) continue;
        box->Add(row);
        row->SetMinWidth(kSourceWidth);
        // The holder is a plain container, which stacks its children: the rows float
        // so that "pos" places them side by side.
        row->SetFloat(true);
        row->SetAttribute(
            L"pos", PosText(kSourceWidth * i, 0, kSourceWidth * i + kSourceWidth, 25).c_str());
        CControlUI* button = Sub(wnd, row, L"btnSource");
        auto* option = button ? static_cast<COptionUI*>(button->GetInterface(L"Option")) : nullptr;
        if (!option) continue;
        const std::wstring name = AnsiToWide(item.sources[i].name);
        option->SetText(name.c_str());
        // A long site name does not fit the button: the whole name shows on hover.
        option->SetToolTip(name.c_str());
        option->SetGroup((L"Group" + std::to_wstring(pageNumber)).c_str());
        option->SetTag(static_cast<UINT_PTR>(i));
        if (i == 0) option->Selected(true, false);
    }
}

CButtonUI* AddArrow(CContainerUI* block, int left, LPCTSTR text, LPCTSTR name) {
    auto* arrow = new CButtonUI;
    block->Add(arrow);
    arrow->SetFloat(true);
    arrow->SetMinWidth(19);
    arrow->SetTextColor(kEpisodeText);
    arrow->SetHotTextColor(kEpisodeHotText);
    arrow->SetAttribute(L"pos", PosText(left, 0, left + 19, 25).c_str());
    arrow->SetText(text);
    arrow->SetName(name);
    arrow->SetUserData(name);
    return arrow;
}

}  // namespace

UILIB_REGISTER_CONTROL(L"TrovikResultItem", CTrovikResultItemUI);

CTrovikResultItemUI::CTrovikResultItemUI() = default;
CTrovikResultItemUI::~CTrovikResultItemUI() = default;

LPVOID CTrovikResultItemUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"TrovikResultItem")) return this;
    return CVerticalLayoutUI::GetInterface(pstrName);
}

AccessInfo CTrovikResultItemUI::DescribeForAccessibility() {
    AccessInfo info = CVerticalLayoutUI::DescribeForAccessibility();
    info.role = AccessRole::PageTab;
    info.state |= kAccessSelectable;
    if (IsVisible()) info.state |= kAccessSelected;
    if (!m_pManager) return info;
    const auto textOf = [this](LPCTSTR name) {
        CControlUI* label = m_pManager->FindSubControlByName(this, name);
        return label ? label->DescribeForAccessibility().name : std::wstring();
    };
    // The poster carries the whole name; the name label may be cut short.
    info.name = textOf(L"ctTvPic");
    if (info.name.empty()) info.name = textOf(L"TvName");
    std::wstring fields;
    for (LPCTSTR name : {L"TvPingFen", L"lblQuality", L"lblNianFen", L"txtDaoYan", L"txtLeiXing",
                         L"txtJiShu", L"txtYanYuan", L"txtDescript"}) {
        const std::wstring text = textOf(name);
        if (text.empty()) continue;
        if (!fields.empty()) fields += L"；";
        fields += text;
    }
    info.description = fields;
    return info;
}

void BuildSelectButtons(CTrovik& wnd, int count) {
    CContainerUI* column = wnd.controls().selectColumn;
    if (count < 1 || !column) return;
    column->RemoveAll();
    const long long top = (150 - 16LL * count) / 2 + 10;
    for (int i = 0; i < count; ++i) {
        auto* option = new COptionUI;
        column->Add(option);
        option->SetAttribute(L"float", L"true");
        option->SetAttribute(L"pos", PosText(0, top + 16LL * i, 0, 0).c_str());
        option->SetAttribute(L"width", L"16");
        option->SetAttribute(L"height", L"16");
        option->SetAttribute(L"normalimage", L"SelectNormal.png");
        option->SetAttribute(L"selectedimage", L"SelectHot.png");
        option->SetAttribute(L"group", L"btnSelectTv");
        option->SetTag(static_cast<UINT_PTR>(i));
        option->SetName((L"btnSelectTv" + std::to_wstring(i)).c_str());
        if (i == 0) option->Selected(true, false);
    }
}

bool BuildResultPage(CTrovik& wnd, const ResultItem* item) {
    CTabLayoutUI* tabs = wnd.controls().resultTabs;
    if (!item || !tabs) return false;
    auto* page = new CTrovikResultItemUI;
    tabs->Add(page);
    CControlUI* info = wnd.CreateSubLayout(L"OneTvInfo");
    if (!info) return false;
    page->Add(info);

    const SearchResult& r = item->result;
    if (CControlUI* pic = Sub(wnd, page, L"ctTvPic")) {
        pic->SetText(AnsiToWide(r.name).c_str());
        const std::wstring poster = CachedPosterFile(r.posterUrl);
        if (!poster.empty()) pic->SetBkImage((L"file='" + poster + L"'").c_str());
    }
    SetAnsiText(wnd, page, L"TvName", NameText(r.name));
    if (!r.score.empty()) SetAnsiText(wnd, page, L"TvPingFen", ScoreMarkup(r.score));
    SetAnsiText(wnd, page, L"txtYanYuan", ActorsText(r.actors));
    SetAnsiText(wnd, page, L"txtDaoYan", DirectorsText(r.directors));
    SetAnsiText(wnd, page, L"txtLeiXing", CategoryText(r.category));
    SetAnsiText(wnd, page, L"txtJiShu", LengthText(r.category, r.badgeRight));
    SetAnsiText(wnd, page, L"lblQuality", r.badgeLeft);
    SetAnsiText(wnd, page, L"lblNianFen", r.year);
    SetAnsiText(wnd, page, L"txtDescript", SynopsisText(r.synopsis));
    if (CControlUI* details = Sub(wnd, page, L"btnDetails")) {
        details->SetUserData(AnsiToWide(r.detailUrl).c_str());
    }
    // The page's dot in the select column names its show (a tooltip, and what a screen
    // reader says for the otherwise wordless dot).
    if (CContainerUI* column = wnd.controls().selectColumn) {
        const std::wstring dot = L"btnSelectTv" + std::to_wstring(tabs->GetCount() - 1);
        if (CControlUI* select = wnd.GetPaintManager().FindSubControlByName(column, dot.c_str())) {
            select->SetToolTip(AnsiToWide(r.name).c_str());
        }
    }

    AddSourceButtons(wnd, page, *item, tabs->GetCount());
    if (!item->sources.empty()) RenderBlock(wnd, page);
    return true;
}

void RenderBlock(CTrovik& wnd, CTrovikResultItemUI* page) {
    if (!page) return;
    const long long src = std::max(page->sourceIndex, 0);
    const long long block = std::max(page->blockIndex, 0);
    const long long per = page->linksPerBlock > 0 ? page->linksPerBlock : 8;
    const ResultItem* item = ItemOf(wnd, page);
    if (!item || item->sources.empty()) return;
    // A source index past the list (a stale tag) shows the last source.
    const auto& links = item->sources[std::min<std::size_t>(src, item->sources.size() - 1)].links;
    const long long count = static_cast<long long>(links.size());
    const long long start = per * block;
    if (start > count) {
        // Past the end: remember the first block beyond the links and keep the
        // shown block, so one "prior" click returns to the last block.
        page->blockIndex = static_cast<int>((count + per - 1) / per);
        return;
    }
    CControlUI* blockControl = Sub(wnd, page, L"ctTvBlock");
    auto* holder = blockControl
                       ? static_cast<CContainerUI*>(blockControl->GetInterface(L"Container"))
                       : nullptr;
    if (!holder) return;
    holder->RemoveAll();
    if (count > per) {
        AddArrow(holder, 5, L"<<", L"btnPriorTv");
        AddArrow(holder, 366, L">>", L"btnNextBlock");
    }
    for (long long e = start; e < count && e < start + 8; ++e) {
        const long long x = kEpisodeLeft + kEpisodeWidth * (e - start);
        auto* button = new CButtonUI;
        holder->Add(button);
        button->SetFloat(true);
        button->SetMinWidth(kEpisodeWidth);
        button->SetAttribute(L"pos", PosText(x, 0, x + kEpisodeWidth, 25).c_str());
        button->SetBorderColor(kEpisodeText);
        button->SetHotTextColor(kEpisodeHotText);
        button->SetShowHtml(true);
        button->SetAttribute(L"bottombordersize", L"1");
        button->SetText(AnsiToWide(EpisodeText(static_cast<int>(e + 1))).c_str());
        button->SetName(L"btnLinkTv");
        button->SetTextColor(kEpisodeText);
        button->SetUserData(AnsiToWide(links[e]).c_str());
    }
}

void StepWaitingAnimation(CTrovik& wnd) {
    std::uint8_t& frame = wnd.model().waitingFrame;
    if (frame > 4) frame = 0;
    CControlUI* pic = wnd.GetPaintManager().FindControl(L"ctWaitingPic");
    if (!pic) {
        frame = 0;
        return;
    }
    pic->SetBkImage((L"Searching" + std::to_wstring(frame) + L".png").c_str());
    ++frame;
}

// The packed client skin built by the real framework: every window and sub-layout
// builds, the controls the client looks up are there with the right class, the main
// window's bands and the result page sit where the client's code expects them, states
// are visible, and text stays readable on every downloadable background.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/tests/WindowPicture.h"
#include "tools/testsupport/SkinWindow.h"
#include "uilib/testing/UiTestDriver.h"

using namespace UiLib;
using namespace skintest;

namespace {

const std::string kArchive = std::string(TROVIK_BIN_DIR) + "/Skin/SkinRes.zip";
const std::filesystem::path kThemes =
    std::filesystem::path(TROVIK_SOURCE_DIR) / "tools/devserver/site/update/Trovik/Theme";

struct Wanted {
    const wchar_t* name;
    const wchar_t* iface;  // the GetInterface name the client's code relies on
};

struct WindowLayout {
    const wchar_t* file;
    SIZE size;
    std::vector<Wanted> controls;
};

std::vector<Wanted> Numbered(const wchar_t* prefix, int count) {
    static std::deque<std::wstring> keep;  // the names outlive the table (a deque never moves them)
    std::vector<Wanted> out;
    for (int i = 0; i < count; ++i) {
        keep.push_back(std::wstring(prefix) + std::to_wstring(i));
    }
    for (int i = 0; i < count; ++i) {
        out.push_back({keep[keep.size() - count + i].c_str(), L"Button"});
    }
    return out;
}

std::vector<WindowLayout> WindowLayouts() {
    std::vector<Wanted> main = {{L"background", L"Container"},
                                {L"edtSearchText", L"Edit"},
                                {L"btnSearch", L"Button"},
                                {L"btnSetSkin", L"Button"},
                                {L"btnAppSet", L"Button"},
                                {L"closebtn", L"Button"},
                                {L"BtnQuit", L"Button"},
                                {L"hlTopHotTvLst1", L"HorizontalLayout"},
                                {L"hlTopHotTvLst2", L"HorizontalLayout"},
                                {L"btnScrollTv", L"Button"},
                                {L"vlTvHistory", L"VerticalLayout"},
                                {L"vlSearching", L"VerticalLayout"},
                                {L"vlNoFindResult", L"VerticalLayout"},
                                {L"vlSearchResult", L"VerticalLayout"},
                                {L"vlSelectResult", L"VerticalLayout"},
                                {L"hlSearchResult", L"HorizontalLayout"},
                                {L"tlSearchResult", L"AnimationTabLayout"},
                                {L"ctWaitingPic", L"Control"},
                                {L"ctNoFindResult", L"Container"}};
    for (auto* prefix : {L"btnHot", L"btnLinkSite", L"btnHistory"}) {
        const int count = prefix == std::wstring(L"btnHot")        ? 5
                          : prefix == std::wstring(L"btnLinkSite") ? 7
                                                                   : 6;
        auto more = Numbered(prefix, count);
        main.insert(main.end(), more.begin(), more.end());
    }
    return {
        {L"Main.xml", {410, 640}, main},
        {L"MsgDlg.xml",
         {320, 168},
         {{L"background", L"Container"},
          {L"btnOk", L"Button"},
          {L"btnCancel", L"Button"},
          {L"closebtn", L"Button"}}},
        {L"ConfigDlg.xml",
         {320, 264},
         {{L"background", L"Container"},
          {L"chkAutoStart", L"CheckBox"},
          {L"chkMinShowInBar", L"CheckBox"},
          {L"chkQuitOnClose", L"CheckBox"},
          {L"chkShowFloatingWindow", L"CheckBox"},
          {L"btnOk", L"Button"},
          {L"btnCancel", L"Button"},
          {L"closebtn", L"Button"}}},
        {L"AboutDlg.xml",
         {320, 236},
         {{L"background", L"Container"},
          {L"txtAppVersion", L"Label"},
          {L"btnOk", L"Button"},
          {L"btnAppWebSite", L"Button"},
          {L"closebtn", L"Button"}}},
        {L"SkinSetDlg.xml",
         {408, 380},
         {{L"background", L"Container"},
          {L"proDown", L"Progress"},
          {L"closebtn", L"Button"},
          {L"SkinPictureItem", L"SkinPictureItem"}}},
        {L"FloatToolWindow.xml", {96, 40}, {{L"background", L"Container"}}},
    };
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int Width(const RECT& rc) {
    return rc.right - rc.left;
}
int Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

std::string Show(const RECT& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
           "," + std::to_string(rc.bottom);
}

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UseSkinArchive(kArchive)) << kArchive << " is missing: build trovik_skin";
    }
    UiLib::testing::UiTestDriver driver;
};

// The main window with a result page built the way the client builds it: five sources,
// twenty episodes (so the first block of eight and both arrows), `count` select options.
class ResultPage : public SkinTest {
protected:
    void Build(int count) {
        ASSERT_NE(w.Make(), nullptr);
        h = w.GetHWND();
        ASSERT_TRUE(ShowResultArea(
            w, count, {L"青柠视频", L"飞鱼影院", L"橙子TV", L"星河剧场", L"麦田动漫"}, 20, &area));
        info = area.info;
        rows = area.sourceRows;
        episodes = area.blockButtons;
        selects.assign(area.selects.begin(), area.selects.end());
        driver.Pump();
        Grab(driver, h);  // lays the window out
    }
    template <typename T>
    T* Sub(LPCTSTR name, LPCTSTR iface) {
        CControlUI* c = w.Pm().FindSubControlByName(info, name);
        return c ? static_cast<T*>(c->GetInterface(iface)) : nullptr;
    }
    SkinWindow w{L"Main.xml"};
    HWND h = nullptr;
    ResultArea area;
    CControlUI* info = nullptr;
    std::vector<CControlUI*> rows;
    std::vector<CControlUI*> episodes;
    std::vector<CControlUI*> selects;
};

}  // namespace

TEST_F(SkinTest, EveryWindowLayoutBuildsWithTheControlsTheClientLooksUp) {
    for (const WindowLayout& layout : WindowLayouts()) {
        SCOPED_TRACE(WideToUtf8(layout.file));
        SkinWindow w(layout.file);
        ASSERT_NE(w.Make(), nullptr);
        const SIZE init = w.Pm().GetInitSize();
        EXPECT_EQ(init.cx, layout.size.cx);
        EXPECT_EQ(init.cy, layout.size.cy);
        for (const Wanted& want : layout.controls) {
            CControlUI* c = w.Find(want.name);
            ASSERT_NE(c, nullptr) << WideToUtf8(want.name);
            EXPECT_NE(c->GetInterface(want.iface), nullptr)
                << WideToUtf8(want.name) << " is no " << WideToUtf8(want.iface);
        }
        // The user's background goes on the root.
        if (layout.file != std::wstring(L"FloatToolWindow.xml")) {
            EXPECT_EQ(w.Pm().GetRoot(), w.Find(L"background"));
        }
        w.Close();
        driver.Pump();
    }
}

TEST_F(SkinTest, SubLayoutsBuildForTheMainWindowWithTheirControls) {
    SkinWindow w(L"Main.xml");
    ASSERT_NE(w.Make(), nullptr);
    const std::vector<std::pair<const wchar_t*, std::vector<Wanted>>> subs = {
        {L"OneTvInfo.xml",
         {{L"ctTvPic", L"Control"},
          {L"TvName", L"Label"},
          {L"TvPingFen", L"Label"},
          {L"txtYanYuan", L"Label"},
          {L"txtDaoYan", L"Label"},
          {L"txtLeiXing", L"Label"},
          {L"txtJiShu", L"Label"},
          {L"lblQuality", L"Label"},
          {L"lblNianFen", L"Label"},
          {L"txtDescript", L"Text"},
          {L"btnDetails", L"Button"},
          {L"ctTvSource", L"Container"},
          {L"ctTvBlock", L"Container"}}},
        {L"OneTvSource.xml", {{L"btnSource", L"Option"}}},
        {L"TvHistory.xml", Numbered(L"btnHistory", 6)},
        {L"Troviking.xml", {{L"ctWaitingPic", L"Control"}}},
        {L"NoSearchResult.xml", {{L"ctNoFindResult", L"Container"}}},
    };
    for (const auto& [file, controls] : subs) {
        SCOPED_TRACE(WideToUtf8(file));
        std::unique_ptr<CControlUI> root(w.Build(file));
        ASSERT_NE(root, nullptr);
        for (const Wanted& want : controls) {
            CControlUI* c = w.Pm().FindSubControlByName(root.get(), want.name);
            if (!c && root->GetName() == want.name) c = root.get();
            ASSERT_NE(c, nullptr) << WideToUtf8(want.name);
            EXPECT_NE(c->GetInterface(want.iface), nullptr) << WideToUtf8(want.name);
        }
    }
    // The score markup uses fonts 3 and 4, the episode buttons font 1: the main window
    // defines them, bold where the score is large.
    for (int id : {0, 1, 2, 3, 4}) EXPECT_TRUE(w.Pm().HasFont(id)) << id;
    EXPECT_GT(w.Pm().GetFontInfo(4).iSize, w.Pm().GetFontInfo(3).iSize);
}

TEST_F(SkinTest, MainWindowBandsSitWhereTheClientExpectsThem) {
    SkinWindow w(L"Main.xml");
    const HWND h = w.Make();
    ASSERT_NE(h, nullptr);
    Grab(driver, h);
    const RECT window{0, 0, 410, 640};
    const RECT banner{0, 32, 410, 272};
    EXPECT_EQ(Show(w.Find(L"hlTopHotTvLst1")->GetPos()), Show(banner));
    EXPECT_EQ(Show(w.Find(L"btnScrollTv")->GetPos()), Show(banner));
    // The banner takes the band in which the pointer pauses the animations (y 33..147).
    EXPECT_LE(banner.top, 33);
    EXPECT_GE(banner.bottom, 147);
    const RECT search = w.Find(L"edtSearchText")->GetPos();
    EXPECT_GE(search.top, banner.bottom);
    EXPECT_GE(Width(search), 200);
    EXPECT_TRUE(w.Find(L"vlTvHistory")->IsVisible());
    for (auto* hidden : {L"vlSearching", L"vlNoFindResult", L"vlSearchResult", L"vlSelectResult"}) {
        EXPECT_FALSE(w.Find(hidden)->IsVisible()) << WideToUtf8(hidden);
    }
    // Every start-view button is whole, inside the window, below the search bar, and
    // no two overlap.
    std::vector<RECT> buttons;
    const std::vector<WindowLayout> layouts = WindowLayouts();
    for (const auto& want : layouts[0].controls) {
        const std::wstring name = want.name;
        if (name.rfind(L"btnHot", 0) != 0 && name.rfind(L"btnLinkSite", 0) != 0 &&
            name.rfind(L"btnHistory", 0) != 0) {
            continue;
        }
        const RECT rc = w.Find(want.name)->GetPos();
        SCOPED_TRACE(WideToUtf8(name) + " at " + Show(rc));
        EXPECT_TRUE(Inside(rc, window));
        EXPECT_GE(rc.top, search.bottom);
        EXPECT_GE(Height(rc), 24);
        if (name.rfind(L"btnLinkSite", 0) == 0) {
            EXPECT_EQ(Width(rc), 48);  // the site logos are 48 x 48, unscaled
            EXPECT_EQ(Height(rc), 48);
        }
        for (const RECT& other : buttons) {
            const bool apart = rc.right <= other.left || other.right <= rc.left ||
                               rc.bottom <= other.top || other.bottom <= rc.top;
            EXPECT_TRUE(apart) << "overlaps " << Show(other);
        }
        buttons.push_back(rc);
    }
}

TEST_F(SkinTest, SearchingAndNoResultViewsCentreTheirContent) {
    SkinWindow w(L"Main.xml");
    const HWND h = w.Make();
    ASSERT_NE(h, nullptr);
    w.Find(L"vlTvHistory")->SetVisible(false);
    w.Find(L"vlSearching")->SetVisible(true);
    Grab(driver, h);
    const RECT area = w.Find(L"vlSearching")->GetPos();
    const RECT pic = w.Find(L"ctWaitingPic")->GetPos();
    EXPECT_EQ(Width(pic), 140);
    EXPECT_EQ(Height(pic), 80);
    EXPECT_NEAR((pic.left + pic.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_TRUE(Inside(pic, area));
    w.Find(L"vlSearching")->SetVisible(false);
    w.Find(L"vlNoFindResult")->SetVisible(true);
    Grab(driver, h);
    EXPECT_TRUE(Inside(w.Find(L"txtNoResultHint")->GetPos(), w.Find(L"vlNoFindResult")->GetPos()));
}

TEST_F(ResultPage, EpisodeStripSourceRowsAndPosterFitThePage) {
    Build(5);
    const RECT window{0, 0, 410, 640};
    const RECT block = Sub<CControlUI>(L"ctTvBlock", L"Control")->GetPos();
    EXPECT_GE(Width(block), 390);
    EXPECT_GE(Height(block), 25);
    EXPECT_TRUE(Inside(block, window)) << Show(block);
    ASSERT_EQ(episodes.size(), 10u);  // both arrows and eight episodes
    for (CControlUI* b : episodes) {
        EXPECT_TRUE(Inside(b->GetPos(), block)) << Show(b->GetPos()) << " outside " << Show(block);
    }
    const RECT sources = Sub<CControlUI>(L"ctTvSource", L"Control")->GetPos();
    for (CControlUI* row : rows) {
        EXPECT_TRUE(Inside(row->GetPos(), sources)) << Show(row->GetPos());
        CControlUI* option = w.Pm().FindSubControlByName(row, L"btnSource");
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(Width(option->GetPos()), 40);
        EXPECT_EQ(Height(option->GetPos()), 25);
        // A site name of four ideographs fits, with a pixel to spare on either side.
        auto* label = static_cast<CLabelUI*>(option->GetInterface(L"Label"));
        ASSERT_NE(label, nullptr);
        const RECT pad = label->GetTextPadding();
        EXPECT_LE(CRenderEngine::GetTextSize(&w.Pm(), L"蓝鲸视频", label->GetFont()).cx,
                  Width(option->GetPos()) - pad.left - pad.right - 2);
    }
    const RECT poster = Sub<CControlUI>(L"ctTvPic", L"Control")->GetPos();
    EXPECT_EQ(Width(poster), 120);
    EXPECT_EQ(Height(poster), 160);
    // The page and the select column share the width without overlapping.
    const RECT page = w.Find(L"vlSearchResult")->GetPos();
    const RECT column = w.Find(L"vlSelectResult")->GetPos();
    EXPECT_EQ(Width(column), 16);
    EXPECT_LE(page.right, column.left);
    EXPECT_LE(column.right, 410);
    EXPECT_TRUE(Inside(Sub<CControlUI>(L"txtDescript", L"Control")->GetPos(), page));
}

TEST_F(ResultPage, SelectDotsCentreBesideThePoster) {
    Build(5);
    const RECT column = w.Find(L"vlSelectResult")->GetPos();
    const RECT poster = Sub<CControlUI>(L"ctTvPic", L"Control")->GetPos();
    const int middle = (selects.front()->GetPos().top + selects.back()->GetPos().bottom) / 2;
    EXPECT_NEAR(middle, (poster.top + poster.bottom) / 2, 8);
    for (CControlUI* o : selects) {
        EXPECT_TRUE(Inside(o->GetPos(), column)) << Show(o->GetPos()) << " " << Show(column);
    }
}

TEST_F(ResultPage, TenResultsStillFitTheSelectColumn) {
    Build(10);
    const RECT column = w.Find(L"vlSelectResult")->GetPos();
    for (CControlUI* o : selects) {
        EXPECT_TRUE(Inside(o->GetPos(), column)) << Show(o->GetPos()) << " " << Show(column);
    }
}

// Pointer and keyboard states must be visible: a hovered, focused or selected control
// changes a good number of its pixels.
TEST_F(SkinTest, HoverFocusAndSelectionAreVisible) {
    struct Case {
        const wchar_t* layout;
        std::vector<const wchar_t*> hovered;
    };
    const std::vector<Case> cases = {
        {L"Main.xml",
         {L"btnHot0", L"btnHistory0", L"btnSearch", L"btnScrollTv", L"btnSetSkin", L"btnAppSet",
          L"closebtn", L"BtnQuit", L"edtSearchText"}},
        {L"MsgDlg.xml", {L"btnOk", L"btnCancel", L"closebtn"}},
        {L"ConfigDlg.xml", {L"chkAutoStart", L"btnOk", L"btnCancel"}},
        {L"AboutDlg.xml", {L"btnAppWebSite", L"btnOk"}},
        {L"SkinSetDlg.xml", {L"SkinPictureItem"}},
    };
    for (const Case& c : cases) {
        SkinWindow w(c.layout);
        const HWND h = w.Make();
        ASSERT_NE(h, nullptr);
        for (const wchar_t* name : c.hovered) {
            SCOPED_TRACE(WideToUtf8(c.layout) + " " + WideToUtf8(name));
            driver.LeaveWindow(h);
            const Picture before = Grab(driver, h);
            ASSERT_TRUE(driver.Hover(h, name));
            const Picture after = Grab(driver, h);
            ASSERT_GT(before.width, 0);
            ASSERT_GT(after.width, 0);
            EXPECT_GE(ChangedPixels(before, after, w.Find(name)->GetPos()), 40);
        }
        driver.LeaveWindow(h);
        w.Close();
        driver.Pump();
    }

    SkinWindow main(L"Main.xml");
    const HWND h = main.Make();
    ASSERT_NE(h, nullptr);
    for (const wchar_t* name : {L"btnSearch", L"btnHot0", L"btnHistory0", L"edtSearchText"}) {
        SCOPED_TRACE(WideToUtf8(name));
        main.Pm().SetFocus(nullptr);
        const Picture before = Grab(driver, h);
        main.Pm().SetFocus(main.Find(name));
        const Picture after = Grab(driver, h);
        EXPECT_GE(ChangedPixels(before, after, main.Find(name)->GetPos()), 40);
    }

    SkinWindow config(L"ConfigDlg.xml");
    const HWND hc = config.Make();
    ASSERT_NE(hc, nullptr);
    auto* check =
        static_cast<CCheckBoxUI*>(config.Find(L"chkQuitOnClose")->GetInterface(L"CheckBox"));
    ASSERT_NE(check, nullptr);
    check->SetCheck(false, false);
    const Picture off = Grab(driver, hc);
    check->SetCheck(true, false);
    const Picture on = Grab(driver, hc);
    EXPECT_GE(ChangedPixels(off, on, check->GetPos()), 40);
}

TEST_F(ResultPage, SelectedSourceAndSelectDotStandOut) {
    Build(3);
    auto* first = static_cast<COptionUI*>(
        w.Pm().FindSubControlByName(rows[0], L"btnSource")->GetInterface(L"Option"));
    ASSERT_NE(first, nullptr);
    first->Selected(false, false);
    const Picture off = Grab(driver, h);
    first->Selected(true, false);
    const Picture on = Grab(driver, h);
    EXPECT_GE(ChangedPixels(off, on, first->GetPos()), 200);  // most of the 40 x 25

    auto* dot = static_cast<COptionUI*>(selects[1]->GetInterface(L"Option"));
    dot->Selected(false, false);
    const Picture plain = Grab(driver, h);
    dot->Selected(true, false);
    const Picture chosen = Grab(driver, h);
    EXPECT_GE(ChangedPixels(plain, chosen, dot->GetPos()), 40);
}

// Text over the translucent panels stays readable on the skin's own background and on
// each background the skin dialog offers: the text colour against the panel as painted
// (the median colour of the control's area, where the text covers little) reaches 4.5:1,
// or 3:1 for the large score.
TEST_F(ResultPage, TextIsReadableOnEveryBackground) {
    Build(3);
    auto text = [&](LPCTSTR name) -> CLabelUI* {
        CControlUI* c = w.Pm().FindSubControlByName(info, name);
        if (!c) c = w.Find(name);
        return c ? static_cast<CLabelUI*>(c->GetInterface(L"Label")) : nullptr;
    };
    // The skin's own picture first, then every background the skin dialog offers.
    std::vector<std::string> backgrounds = {"Background.png"};
    for (int i = 1; i <= 8; ++i) {
        const auto file = kThemes / ("Theme0" + std::to_string(i) + ".png");
        ASSERT_TRUE(std::filesystem::is_regular_file(file)) << file;
        backgrounds.push_back(file.string());
    }
    const std::vector<std::pair<const wchar_t*, double>> labels = {
        {L"TvName", 4.5},     {L"txtDaoYan", 4.5},  {L"txtYanYuan", 4.5},
        {L"txtLeiXing", 4.5}, {L"txtJiShu", 4.5},   {L"txtDescript", 4.5},
        {L"lblQuality", 4.5}, {L"lblNianFen", 4.5}, {L"TvPingFen", 3.0}};
    const std::vector<const wchar_t*> startView = {
        L"lblHotTitle", L"lblSiteTitle", L"lblHistoryTitle", L"lblSearchTip",
        L"btnHot0",     L"btnHistory0",  L"edtSearchText"};
    auto check = [&](CLabelUI* label, double least, const Picture& picture) {
        ASSERT_NE(label, nullptr);
        const RECT rc = label->GetPos();
        std::vector<std::uint32_t> r, g, b;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                const std::uint32_t p = picture.At(x, y);
                r.push_back((p >> 16) & 0xFF);
                g.push_back((p >> 8) & 0xFF);
                b.push_back(p & 0xFF);
            }
        }
        ASSERT_FALSE(r.empty());
        auto median = [](std::vector<std::uint32_t>& v) {
            std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
            return v[v.size() / 2];
        };
        const std::uint32_t ground = (median(r) << 16) | (median(g) << 8) | median(b);
        EXPECT_GE(Contrast(label->GetTextColor(), ground), least)
            << WideToUtf8(label->GetName().str()) << std::hex << " text " << label->GetTextColor()
            << " on " << ground;
    };
    // A spot of the search bar's band, where the background shows through the panel.
    const POINT band{4, w.Find(L"edtSearchText")->GetPos().top - 4};
    std::vector<std::uint32_t> seen;
    for (const std::string& background : backgrounds) {
        SCOPED_TRACE(background);
        w.Find(L"background")->SetBkImage(Utf8ToWide(background).c_str());
        w.Find(L"vlTvHistory")->SetVisible(false);
        w.Find(L"vlSearchResult")->SetVisible(true);
        w.Find(L"vlSelectResult")->SetVisible(true);
        Picture picture = Grab(driver, h);
        ASSERT_EQ(picture.width, 410);
        // Each background tints the window differently: it is really behind the panels.
        const std::uint32_t tint = picture.At(band.x, band.y) & 0xFFFFFF;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), tint), seen.end()) << std::hex << tint;
        seen.push_back(tint);
        for (const auto& [name, least] : labels) check(text(name), least, picture);
        w.Find(L"vlSearchResult")->SetVisible(false);
        w.Find(L"vlSelectResult")->SetVisible(false);
        w.Find(L"vlTvHistory")->SetVisible(true);
        picture = Grab(driver, h);
        ASSERT_EQ(picture.width, 410);
        for (const wchar_t* name : startView) check(text(name), 4.5, picture);
    }
}

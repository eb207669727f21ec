// Result pages built from items handed to the main window as the worker would: the
// select column, the panel texts, the source buttons, the episode blocks and their
// clicks.

#include <gtest/gtest.h>

#include <QAccessible>

#include "common/TextCodec.h"
#include "tools/testsupport/SearchTestWindow.h"
#include "tools/testsupport/WaitFor.h"
#include "uilib/backend/qt/QtWindow.h"
#include "uilib/src/window/WindowImpl.h"

using namespace UiLib;
using searchtest::MakeItem;
using searchtest::SearchTestWindow;

namespace {

class ResultPageTest : public ::testing::Test {
protected:
    ResultPageTest() : w("", "/nonexistent/libvantrel.so") {}

    void Show(const std::vector<ResultItem>& items, int count) {
        for (size_t i = 0; i < items.size(); ++i) {
            OnSearchItem(w.wnd(), &items[i], i == 0 ? count : 0);
        }
        w.driver().Pump();
    }
    std::wstring Text(int page, const wchar_t* name) {
        CControlUI* c = w.InPage(page, name);
        return c ? std::wstring(c->GetText().GetData()) : L"<missing>";
    }
    bool ClickControl(CControlUI* c) {
        if (!c) return false;
        const RECT r = c->GetPos();
        const bool ok =
            w.driver().ClickAt(w.hwnd(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        w.driver().Pump();
        return ok;
    }
    CControlUI* Named(int page, const wchar_t* name) {
        for (CControlUI* c : w.BlockButtons(page)) {
            if (c->GetName() == name) return c;
        }
        return nullptr;
    }

    SearchTestWindow w;
};

TEST_F(ResultPageTest, TwentyLinksArePagedEightAtATimeWithArrows) {
    Show({MakeItem("series", 1, 20)}, 1);
    ASSERT_EQ(w.PageCount(), 1);
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    CControlUI* prior = Named(0, L"btnPriorTv");
    CControlUI* next = Named(0, L"btnNextBlock");
    ASSERT_NE(prior, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(prior->GetText(), L"<<");
    EXPECT_EQ(next->GetText(), L">>");
    EXPECT_EQ(next->GetUserData(), L"btnNextBlock");
    EXPECT_EQ(w.BlockButtons(0).size(), 10u);

    ASSERT_TRUE(ClickControl(Named(0, L"btnNextBlock")));
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{9, 10, 11, 12, 13, 14, 15, 16}));
    ASSERT_TRUE(ClickControl(Named(0, L"btnNextBlock")));
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{17, 18, 19, 20}));
    EXPECT_EQ(w.Page(0)->blockIndex, 2);

    // Past the end: the index moves to the block after the last, nothing is redrawn.
    const auto before = w.BlockButtons(0);
    ASSERT_TRUE(ClickControl(Named(0, L"btnNextBlock")));
    EXPECT_EQ(w.Page(0)->blockIndex, 3);
    EXPECT_EQ(w.BlockButtons(0), before);
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{17, 18, 19, 20}));

    // One "prior" goes back to the last block, drawn anew.
    ASSERT_TRUE(ClickControl(Named(0, L"btnPriorTv")));
    EXPECT_EQ(w.Page(0)->blockIndex, 2);
    EXPECT_NE(w.BlockButtons(0), before);
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{17, 18, 19, 20}));
    ASSERT_TRUE(ClickControl(Named(0, L"btnPriorTv")));
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{9, 10, 11, 12, 13, 14, 15, 16}));
}

TEST_F(ResultPageTest, BlockGeometryAndTheEdgesOfTheLinkList) {
    Show({MakeItem("sixteen", 1, 16), MakeItem("film", 1, 1)}, 2);
    // Episode e of a block sits at 19 + 44 * (e - start); the arrows at 5 and 366.
    const auto buttons = w.BlockButtons(0);
    ASSERT_EQ(buttons.size(), 10u);
    for (CControlUI* b : buttons) EXPECT_TRUE(b->IsFloat());
    CControlUI* first = buttons[2];
    CControlUI* eighth = buttons[9];
    CControlUI* block = w.InPage(0, L"ctTvBlock");
    ASSERT_NE(block, nullptr);
    const int left = block->GetPos().left;
    EXPECT_EQ(first->GetPos().left - left, 19);
    EXPECT_EQ(first->GetPos().right - left, 63);
    EXPECT_EQ(eighth->GetPos().left - left, 327);
    EXPECT_EQ(buttons[1]->GetPos().left - left, 366);
    EXPECT_EQ(first->GetUserData(), L"http://play.test/1/1");

    // Block 2 of 16 links starts at the end: only the arrows are drawn.
    CTrovikResultItemUI* page = w.Page(0);
    page->blockIndex = 2;
    RenderBlock(w.wnd(), page);
    EXPECT_EQ(w.BlockButtons(0).size(), 2u);
    EXPECT_TRUE(w.EpisodeNumbers(0).empty());
    EXPECT_EQ(page->blockIndex, 2);

    // A film: one button numbered 1, no arrows.
    EXPECT_EQ(w.BlockButtons(1).size(), 1u);
    EXPECT_EQ(w.EpisodeNumbers(1), std::vector<int>{1});
}

TEST_F(ResultPageTest, SevenSourcesGiveFiveButtonsAndAClickShowsThatSource) {
    Show({MakeItem("seven", 7, 3), MakeItem("second", 2, 3)}, 2);
    const auto sources = w.SourceButtons(0);
    ASSERT_EQ(sources.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(sources[i]->GetText(), L"S" + std::to_wstring(i + 1));
        EXPECT_EQ(sources[i]->GetToolTip(), sources[i]->GetText());  // the whole name
        EXPECT_EQ(sources[i]->GetTag(), static_cast<UINT_PTR>(i));
        EXPECT_STREQ(sources[i]->GetGroup(), L"Group1");
        EXPECT_EQ(sources[i]->IsSelected(), i == 0);
    }
    EXPECT_STREQ(w.SourceButtons(1)[0]->GetGroup(), L"Group2");
    EXPECT_TRUE(w.SourceButtons(1)[0]->IsSelected());

    // Rows stand side by side, 40 pixels apart.
    EXPECT_EQ(sources[3]->GetPos().left - sources[0]->GetPos().left, 120);
    EXPECT_EQ(sources[0]->GetPos().right - sources[0]->GetPos().left, 40);

    ASSERT_TRUE(ClickControl(sources[2]));
    EXPECT_EQ(w.Page(0)->sourceIndex, 2);
    EXPECT_EQ(w.Page(0)->blockIndex, 0);
    ASSERT_FALSE(w.BlockButtons(0).empty());
    EXPECT_EQ(w.BlockButtons(0)[0]->GetUserData(), L"http://play.test/3/1");
    EXPECT_TRUE(sources[2]->IsSelected());
    EXPECT_FALSE(sources[0]->IsSelected());
    EXPECT_TRUE(w.SourceButtons(1)[0]->IsSelected());  // another page's group is untouched
}

TEST_F(ResultPageTest, PanelTextsAreComposedCutAndMarkedUp) {
    ResultItem a = MakeItem("a", 1, 1);
    a.result.name = WideToAnsi(L"一二三四五六七八九十壹贰");  // 24 bytes
    a.result.score = "9";
    a.result.actors = {"a", "b", "c", "d", "e", "f"};
    a.result.directors = {WideToAnsi(L"导演甲")};
    a.result.category = WideToAnsi(L"[电影]");
    a.result.badgeLeft = WideToAnsi(L"超清");
    a.result.badgeRight = "HD";
    a.result.year = "2019";
    a.result.synopsis = std::string(120, 's');
    a.result.detailUrl = "http://detail.test/1.html";
    ResultItem b = MakeItem("b", 1, 1);
    b.result.score.clear();
    b.result.actors = {"x", "y", "z"};
    Show({a, b}, 2);

    EXPECT_EQ(Text(0, L"TvName"), L"一二三四五六七八九十...");
    EXPECT_EQ(Text(0, L"ctTvPic"), L"一二三四五六七八九十壹贰");
    EXPECT_EQ(Text(0, L"TvPingFen"), L"{f 4}9{/f}{f 3}分{/f}");
    EXPECT_EQ(Text(0, L"txtYanYuan"), L"演员 : a b c d e...");
    EXPECT_EQ(Text(0, L"txtDaoYan"), L"导演 : 导演甲 ");
    EXPECT_EQ(Text(0, L"txtLeiXing"), L"类型 : [电影]");
    EXPECT_EQ(Text(0, L"txtJiShu"), L"片长 : HD");
    EXPECT_EQ(Text(0, L"lblQuality"), L"超清");
    EXPECT_EQ(Text(0, L"lblNianFen"), L"2019");
    EXPECT_EQ(Text(0, L"txtDescript"), L"简介 : " + std::wstring(96, L's') + L"...");
    EXPECT_EQ(w.InPage(0, L"btnDetails")->GetUserData(), L"http://detail.test/1.html");

    EXPECT_EQ(Text(1, L"TvPingFen"), L"{f 3}暂无评分{/f}");  // the skin's text stays
    EXPECT_EQ(Text(1, L"txtYanYuan"), L"演员 : x y z ");
    EXPECT_EQ(Text(1, L"txtJiShu"), L"集数 : ");
}

TEST_F(ResultPageTest, SelectColumnFollowsTheEngineCount) {
    std::vector<ResultItem> items;
    for (int i = 0; i < 3; ++i) items.push_back(MakeItem("p" + std::to_string(i), 1, 2));
    Show(items, 10);
    auto selects = w.SelectButtons();
    ASSERT_EQ(selects.size(), 10u);
    CControlUI* column = w.wnd().controls().selectColumn;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(selects[i]->GetName(), L"btnSelectTv" + std::to_wstring(i));
        EXPECT_EQ(selects[i]->GetPos().top - column->GetPos().top, 5 + 16 * i);
        EXPECT_EQ(selects[i]->GetPos().bottom - selects[i]->GetPos().top, 16);
    }
    ASSERT_TRUE(ClickControl(selects[2]));
    EXPECT_TRUE(
        w.driver().PumpUntil([&] { return w.wnd().controls().resultTabs->GetCurSel() == 2; }));

    // A new set of one: one button at 77, one page, the old pages gone.
    Show({MakeItem("single", 1, 2)}, 1);
    selects = w.SelectButtons();
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0]->GetPos().top - column->GetPos().top, 77);
    EXPECT_EQ(w.PageCount(), 1);
    EXPECT_EQ(w.wnd().model().resultItems.size(), 1u);
    EXPECT_EQ(w.wnd().controls().resultTabs->GetCurSel(), 0);
}

TEST_F(ResultPageTest, EpisodeAndDetailsClicksOpenTheirUrls) {
    const std::string urlLog = w.env().tmpDir() + "/opened.log";
    testsupport::ScopedEnv record("TROVIK_OPEN_URL_LOG", urlLog);
    Show({MakeItem("clicks", 2, 12)}, 1);
    const auto buttons = w.BlockButtons(0);
    ASSERT_EQ(buttons.size(), 10u);
    ASSERT_TRUE(ClickControl(buttons[3]));  // episode 2 (after the two arrows)
    ASSERT_TRUE(testsupport::WaitFor([&] {
        return testsupport::ReadFile(urlLog).find("http://play.test/1/2") != std::string::npos;
    }));
    ASSERT_TRUE(ClickControl(w.InPage(0, L"btnDetails")));
    EXPECT_TRUE(testsupport::WaitFor([&] {
        return testsupport::ReadFile(urlLog) == "http://play.test/1/2\nhttp://detail.test/clicks\n";
    })) << testsupport::ReadFile(urlLog);
}

TEST_F(ResultPageTest, WaitingAnimationCyclesFiveFrames) {
    CControlUI* pic = w.driver().Find(w.hwnd(), L"ctWaitingPic");
    ASSERT_NE(pic, nullptr);
    // Find the current frame, then expect the sequence to wrap after frame 4.
    StepWaitingAnimation(w.wnd());
    const std::wstring start = pic->GetBkImage();
    ASSERT_TRUE(start.starts_with(L"Searching")) << start;
    int frame = start[9] - L'0';
    for (int i = 0; i < 7; ++i) {
        StepWaitingAnimation(w.wnd());
        frame = (frame + 1) % 5;
        EXPECT_EQ(std::wstring(pic->GetBkImage()), L"Searching" + std::to_wstring(frame) + L".png");
    }
}

TEST_F(ResultPageTest, PageAnswersItsInterfaceNameInAnyCase) {
    CTrovikResultItemUI page;
    EXPECT_EQ(page.GetInterface(L"trovikresultitem"), &page);
    EXPECT_EQ(page.GetInterface(L"TROVIKRESULTITEM"), &page);
    EXPECT_NE(page.GetInterface(L"VerticalLayout"), nullptr);
    EXPECT_EQ(page.GetInterface(L"Button"), nullptr);
    EXPECT_FALSE(BuildResultPage(w.wnd(), nullptr));
}

}  // namespace

namespace {

// The keyboard on a result page: Left and Right step the episode blocks as the arrows
// do, an arrow pressed with Space keeps the focus, and a screen reader hears the show.
TEST_F(ResultPageTest, KeysStepTheEpisodeBlocksAndThePageTellsTheShow) {
    ResultItem a = MakeItem("series", 1, 20);
    a.result.name = WideToAnsi(L"长河落日");
    a.result.directors = {WideToAnsi(L"导演甲")};
    a.result.year = "2019";
    Show({a, MakeItem("b", 1, 1)}, 2);
    auto& driver = w.driver();
    w.wnd().GetPaintManager().FindControl(L"btnSearch")->SetFocus();

    ASSERT_TRUE(driver.PressKey(w.hwnd(), VK_RIGHT));
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{9, 10, 11, 12, 13, 14, 15, 16}));
    ASSERT_TRUE(driver.PressKey(w.hwnd(), VK_LEFT));
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_TRUE(driver.PressKey(w.hwnd(), VK_LEFT));  // at the first block: nothing
    EXPECT_EQ(w.Page(0)->blockIndex, 0);

    Named(0, L"btnNextBlock")->SetFocus();
    ASSERT_TRUE(driver.PressKey(w.hwnd(), VK_SPACE));
    EXPECT_EQ(w.EpisodeNumbers(0), (std::vector<int>{9, 10, 11, 12, 13, 14, 15, 16}));
    CControlUI* focus = w.wnd().GetPaintManager().GetFocus();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->GetName(), L"btnNextBlock");

    const AccessInfo page = w.Page(0)->DescribeForAccessibility();
    EXPECT_EQ(page.role, AccessRole::PageTab);
    EXPECT_EQ(page.name, L"长河落日");
    EXPECT_NE(page.description.find(L"导演 : 导演甲"), std::wstring::npos);
    EXPECT_NE(page.description.find(L"2019"), std::wstring::npos);
    EXPECT_EQ(page.description.find(L"{f"), std::wstring::npos);  // no markup read out
    EXPECT_TRUE(page.state & kAccessSelected);
    EXPECT_FALSE(w.Page(1)->DescribeForAccessibility().state & kAccessSelected);
    EXPECT_EQ(w.wnd().GetPaintManager().FindControl(L"btnSelectTv0")->GetToolTip(), L"长河落日");
}

}  // namespace

namespace {

QAccessibleInterface* ReadAs(QAccessibleInterface* parent, const QString& name) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* c = parent->child(i);
        if (!c) continue;
        if (c->text(QAccessible::Name) == name) return c;
        if (QAccessibleInterface* deeper = ReadAs(c, name)) return deeper;
    }
    return nullptr;
}

// What a screen reader finds in the main window through Qt's accessibility layer: the
// start view's search box, buttons and caption buttons by role, name and state, then
// the result pages as page tabs named after their shows.
TEST_F(ResultPageTest, ScreenReadersReadTheStartViewAndTheResultPages) {
    auto* native = static_cast<qt::QtWindow*>(detail::NativeOf(w.hwnd()));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(native->widget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Trovik"));

    QAccessibleInterface* box = ReadAs(window, QStringLiteral("请输入片名"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->role(), QAccessible::EditableText);
    QAccessibleInterface* search = ReadAs(window, QStringLiteral("搜索"));
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->role(), QAccessible::Button);
    EXPECT_EQ(search->text(QAccessible::Description), QStringLiteral("搜索（回车）"));
    EXPECT_TRUE(search->state().focusable);
    EXPECT_FALSE(search->state().invisible);
    QAccessibleInterface* hide = ReadAs(window, QStringLiteral("收起到托盘"));
    ASSERT_NE(hide, nullptr);
    EXPECT_EQ(hide->role(), QAccessible::Button);
    ASSERT_NE(ReadAs(window, QStringLiteral("退出Trovik")), nullptr);
    w.wnd().GetPaintManager().FindControl(L"btnSearch")->SetFocus();
    EXPECT_TRUE(search->state().focused);
    EXPECT_EQ(window->focusChild(), search);

    ResultItem a = MakeItem("a", 1, 1);
    a.result.name = WideToAnsi(L"海上明月");
    a.result.year = "2019";
    ResultItem b = MakeItem("b", 1, 1);
    b.result.name = WideToAnsi(L"雨巷旧事");
    Show({a, b}, 2);
    QAccessibleInterface* first = ReadAs(window, QStringLiteral("海上明月"));
    QAccessibleInterface* second = ReadAs(window, QStringLiteral("雨巷旧事"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->role(), QAccessible::PageTab);
    EXPECT_EQ(first->parent()->role(), QAccessible::PageTabList);
    EXPECT_TRUE(first->text(QAccessible::Description).contains(QStringLiteral("2019")));
    EXPECT_TRUE(first->state().selected);
    EXPECT_TRUE(second->state().invisible);
    // The select dot of the second page is a radio button named after its show.
    QAccessibleInterface* dot = nullptr;
    for (int i = 0; i < window->childCount() && !dot; ++i) {
        QAccessibleInterface* c = window->child(i);
        if (c && c->role() == QAccessible::RadioButton &&
            c->text(QAccessible::Name) == QStringLiteral("雨巷旧事"))
            dot = c;
    }
    ASSERT_NE(dot, nullptr);
    EXPECT_FALSE(dot->state().checked);
    dot->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    w.driver().Pump();
    EXPECT_TRUE(second->state().selected);
    EXPECT_FALSE(first->state().selected);
}

}  // namespace

namespace {

// A result page from the keyboard alone: Tab reaches the details button, the sources,
// the arrows, the episodes and the select dots in reading order; Space switches the
// source and Enter opens an episode.
TEST_F(ResultPageTest, TabWalksAResultPageAndTheKeysSwitchSourcesAndOpenEpisodes) {
    const std::string urlLog = w.env().tmpDir() + "/opened.log";
    testsupport::ScopedEnv record("TROVIK_OPEN_URL_LOG", urlLog);
    Show({MakeItem("walk", 2, 12), MakeItem("other", 1, 1)}, 2);
    auto& driver = w.driver();
    CPaintManagerUI& pm = w.wnd().GetPaintManager();
    pm.FindControl(L"btnSearch")->SetFocus();
    std::vector<std::wstring> order;
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(driver.PressKey(w.hwnd(), VK_TAB));
        const std::wstring name = pm.GetFocus()->GetName().str();
        if (name == L"btnSetSkin") break;  // round to the caption
        order.push_back(name);
    }
    std::vector<std::wstring> expected{L"btnDetails", L"btnSource", L"btnSource", L"btnPriorTv"};
    expected.insert(expected.end(), 8, L"btnLinkTv");
    expected.insert(expected.end(), {L"btnNextBlock", L"btnSelectTv0", L"btnSelectTv1"});
    EXPECT_EQ(order, expected);

    // Space on the second source shows its episodes; Enter on an episode opens it.
    CControlUI* second = nullptr;
    for (CControlUI* c : w.Page(0)->GetManager()->FindSubControlsByClass(w.Page(0), L"OptionUI")) {
        if (c->GetName() == L"btnSource" && c->GetTag() == 1) second = c;
    }
    ASSERT_NE(second, nullptr);
    second->SetFocus();
    ASSERT_TRUE(driver.PressKey(w.hwnd(), VK_SPACE));
    EXPECT_EQ(w.Page(0)->sourceIndex, 1);
    w.BlockButtons(0)[3]->SetFocus();  // episode 2, after the two arrows
    ASSERT_TRUE(driver.PressKey(w.hwnd(), VK_RETURN));
    EXPECT_TRUE(testsupport::WaitFor([&] {
        return testsupport::ReadFile(urlLog).find("http://play.test/2/2") != std::string::npos;
    })) << testsupport::ReadFile(urlLog);
}

}  // namespace

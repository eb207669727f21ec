#include <gtest/gtest.h>

#include <thread>

#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestArchive();
        ASSERT_NE(w.Make(), nullptr);
        hwnd = w.GetHWND();
        ShowWindow(hwnd, SW_SHOW);
        driver.Pump();
        w.notes.clear();
    }
    UiLib::testing::TestBackend backend;
    UiLib::testing::UiTestDriver driver{backend};
    TestWindow w{L"controls.xml"};
    HWND hwnd = nullptr;
};

}  // namespace

TEST_F(ControlsTest, ButtonClickNotifiesWithTheSender) {
    CControlUI* sender = nullptr;
    w.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_CLICK) sender = msg.pSender;
    };
    ASSERT_TRUE(driver.Click(hwnd, L"btnGo"));
    EXPECT_EQ(sender, w.Pm().FindControl(L"btnGo"));
    EXPECT_EQ(w.NoteTypesOf(L"btnGo"), (std::vector<std::wstring>{L"setfocus", L"click"}));
}

TEST_F(ControlsTest, PressingOutsideAButtonAndReleasingElsewhereIsNoClick) {
    const POINT go = driver.CenterOf(hwnd, L"btnGo");
    const POINT edt = driver.CenterOf(hwnd, L"filler");
    driver.MoveMouse(hwnd, go);
    // Press on the button, release over another control: no click.
    ASSERT_TRUE(driver.ClickAt(hwnd, edt));
    EXPECT_TRUE(w.NoteTypesOf(L"btnGo").empty());
}

TEST_F(ControlsTest, OptionGroupSelectsOneAndNotifiesInOrder) {
    auto* o0 = w.Get<COptionUI>(L"opt0");
    auto* o1 = w.Get<COptionUI>(L"opt1");
    auto* o2 = w.Get<COptionUI>(L"opt2");
    ASSERT_TRUE(o0 && o1 && o2);
    EXPECT_TRUE(o0->IsSelected());
    ASSERT_TRUE(driver.Click(hwnd, L"opt2"));
    EXPECT_FALSE(o0->IsSelected());
    EXPECT_FALSE(o1->IsSelected());
    EXPECT_TRUE(o2->IsSelected());
    // click first, then the deselected option's change, then the selected one's.
    std::vector<std::pair<std::wstring, std::wstring>> seen;
    for (const Note& n : w.notes) {
        if (n.type != L"setfocus" && n.type != L"killfocus") seen.emplace_back(n.type, n.sender);
    }
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"click", L"opt2"}, {L"selectchanged", L"opt0"}, {L"selectchanged", L"opt2"}};
    EXPECT_EQ(seen, expected);
    // Clicking the selected option again changes nothing.
    w.notes.clear();
    ASSERT_TRUE(driver.Click(hwnd, L"opt2"));
    EXPECT_EQ(w.NoteTypesOf(L"opt2"), (std::vector<std::wstring>{L"click"}));
    EXPECT_TRUE(o2->IsSelected());
}

TEST_F(ControlsTest, OptionsJoiningAGroupLaterDeselectTheOthers) {
    auto* o0 = w.Get<COptionUI>(L"opt0");
    auto* row = static_cast<CContainerUI*>(o0->GetParent());
    auto* extra = new COptionUI;
    row->Add(extra);
    extra->SetAttribute(L"group", L"grp");
    extra->Selected(true);
    EXPECT_FALSE(o0->IsSelected());
    EXPECT_TRUE(extra->IsSelected());
    // Removing it from the window removes it from the group.
    row->Remove(extra);
    driver.Pump();
    o0->Selected(true);
    EXPECT_EQ(w.Pm().GetOptionGroup(L"grp")->size(), 3u);
}

TEST_F(ControlsTest, CheckBoxToggles) {
    auto* chk = w.Get<CCheckBoxUI>(L"chk");
    ASSERT_NE(chk, nullptr);
    EXPECT_FALSE(chk->GetCheck());
    ASSERT_TRUE(driver.Click(hwnd, L"chk"));
    EXPECT_TRUE(chk->GetCheck());
    ASSERT_TRUE(driver.Click(hwnd, L"chk"));
    EXPECT_FALSE(chk->GetCheck());
    chk->SetCheck(true, false);
    EXPECT_TRUE(chk->GetCheck());
    EXPECT_EQ(w.NoteTypesOf(L"chk"),
              (std::vector<std::wstring>{L"setfocus", L"click", L"selectchanged", L"click",
                                         L"selectchanged"}));
}

TEST_F(ControlsTest, TabLayoutShowsOnePage) {
    auto* tabs = w.Get<CTabLayoutUI>(L"tabs");
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_FALSE(w.Pm().FindControl(L"page0")->IsVisible());
    EXPECT_TRUE(w.Pm().FindControl(L"page1")->IsVisible());
    EXPECT_TRUE(tabs->SelectItem(2));
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_TRUE(w.Pm().FindControl(L"page2")->IsVisible());
    EXPECT_FALSE(w.Pm().FindControl(L"page1")->IsVisible());
    EXPECT_FALSE(tabs->SelectItem(3));
    EXPECT_FALSE(tabs->SelectItem(-1));
    EXPECT_EQ(tabs->GetCurSel(), 2);
    // Removing the selected page selects a neighbour; removing all leaves none.
    tabs->Remove(w.Pm().FindControl(L"page2"));
    EXPECT_EQ(tabs->GetCurSel(), 1);
    tabs->RemoveAll();
    EXPECT_EQ(tabs->GetCurSel(), -1);
    // The first page added to an empty tab layout is shown.
    auto* fresh = new CLabelUI;
    tabs->Add(fresh);
    tabs->Add(new CLabelUI);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_TRUE(fresh->IsVisible());
}

TEST_F(ControlsTest, AnimatedTabSlidesTheNewPageIntoPlace) {
    auto* anim = w.Get<CAnimationTabLayoutUI>(L"anim");
    ASSERT_NE(anim, nullptr);
    w.Pm().UpdateLayout();
    const RECT home = anim->GetPos();
    ASSERT_TRUE(anim->SelectItem(1));
    EXPECT_EQ(anim->GetCurSel(), 1);
    EXPECT_TRUE(anim->IsAnimating());
    w.Pm().UpdateLayout();
    CControlUI* page = w.Pm().FindControl(L"apage1");
    EXPECT_GT(page->GetPos().left, home.left);  // starts off to the right
    ASSERT_TRUE(driver.PumpUntil([&] { return !anim->IsAnimating(); }));
    w.Pm().UpdateLayout();
    EXPECT_EQ(page->GetPos().left, home.left);
    EXPECT_EQ(page->GetPos().right, home.right);
}

TEST_F(ControlsTest, RemovingControlsForgetsOnlyWhatWasInsideThem) {
    ASSERT_TRUE(driver.Click(hwnd, L"btnGo"));  // focused, and under the pointer
    CControlUI* go = w.Pm().FindControl(L"btnGo");
    ASSERT_EQ(w.Pm().GetFocus(), go);
    ASSERT_EQ(w.Pm().GetHotControl(), go);
    auto* anim = w.Get<CAnimationTabLayoutUI>(L"anim");
    ASSERT_TRUE(anim->SelectItem(1));  // a control timer runs
    w.Get<CTabLayoutUI>(L"tabs")->Remove(w.Pm().FindControl(L"page0"));
    EXPECT_EQ(w.Pm().GetFocus(), go);
    EXPECT_EQ(w.Pm().GetHotControl(), go);
    EXPECT_EQ(w.Pm().FindControl(L"btnGo"), go);
    ASSERT_TRUE(driver.PumpUntil([&] { return !anim->IsAnimating(); }));
    // Removing the row that holds the button forgets the focus and the hot control.
    static_cast<CContainerUI*>(go->GetParent()->GetParent())->Remove(go->GetParent());
    EXPECT_EQ(w.Pm().GetFocus(), nullptr);
    EXPECT_EQ(w.Pm().GetHotControl(), nullptr);
    EXPECT_EQ(w.Pm().FindControl(L"btnGo"), nullptr);
}

TEST_F(ControlsTest, EditTakesChineseTextAndSendsReturn) {
    ASSERT_TRUE(driver.TypeText(hwnd, L"edt", L"风中奇缘"));
    auto* edt = w.Get<CEditUI>(L"edt");
    EXPECT_EQ(edt->GetText().str(), L"风中奇缘");
    EXPECT_TRUE(edt->IsFocused());
    ASSERT_TRUE(driver.PressKey(hwnd, VK_RETURN));
    const auto types = w.NoteTypesOf(L"edt");
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), L"setfocus");
    EXPECT_EQ(types.back(), L"return");
    EXPECT_NE(std::find(types.begin(), types.end(), L"textchanged"), types.end());
    // Clicking elsewhere takes the focus away.
    w.notes.clear();
    ASSERT_TRUE(driver.Click(hwnd, L"filler"));
    EXPECT_EQ(w.NoteTypesOf(L"edt"), (std::vector<std::wstring>{L"killfocus"}));
    EXPECT_EQ(edt->GetText().str(), L"风中奇缘");
    // Text set by code while focused reaches the editor, and the limit holds.
    edt->SetText(L"0123456789012345678901234");
    EXPECT_EQ(edt->GetText().GetLength(), 20);
}

TEST_F(ControlsTest, ListRowsSelectAndClick) {
    auto* list = w.Get<CListUI>(L"lst");
    ASSERT_TRUE(driver.Click(hwnd, L"row1"));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_TRUE(static_cast<CListContainerElementUI*>(w.Pm().FindControl(L"row1"))->IsSelected());
    EXPECT_EQ(w.NoteTypesOf(L"lst"), (std::vector<std::wstring>{L"itemselect"}));
    const auto rowNotes = w.NoteTypesOf(L"row1");
    EXPECT_NE(std::find(rowNotes.begin(), rowNotes.end(), L"itemclick"), rowNotes.end());
    ASSERT_TRUE(driver.Click(hwnd, L"row0"));
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_FALSE(static_cast<CListContainerElementUI*>(w.Pm().FindControl(L"row1"))->IsSelected());
}

TEST_F(ControlsTest, CloseButtonSendsCloseWithLParamZero) {
    w.hideOnClose = true;
    ASSERT_TRUE(driver.Click(hwnd, L"closebtn"));
    ASSERT_TRUE(driver.PumpUntil([&] { return !w.closeParams.empty(); }));
    EXPECT_EQ(w.closeParams, (std::vector<LPARAM>{0}));
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(ControlsTest, AControlMayRemoveItselfFromItsOwnClick) {
    auto* go = w.Get<CButtonUI>(L"btnGo");
    auto* row = static_cast<CContainerUI*>(go->GetParent());
    w.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender->GetName() == L"btnGo") {
            row->RemoveAll();
            auto* again = new CButtonUI;
            again->SetName(L"btnGo");
            row->Add(again);
        }
    };
    ASSERT_TRUE(driver.Click(hwnd, L"btnGo"));
    driver.Pump();
    CControlUI* replacement = w.Pm().FindControl(L"btnGo");
    ASSERT_NE(replacement, nullptr);
    EXPECT_NE(replacement, static_cast<CControlUI*>(go));
    EXPECT_EQ(w.Pm().FindControl(L"edt"), nullptr);
    ASSERT_TRUE(driver.Click(hwnd, L"btnGo"));  // the new one works as well
}

TEST_F(ControlsTest, FindControlFindsTheNextOfTheSameNameAfterARemoval) {
    auto* root = w.Get<CContainerUI>(L"root");
    auto* first = new CButtonUI;
    first->SetName(L"btnLinkTv");
    auto* second = new CButtonUI;
    second->SetName(L"btnLinkTv");
    root->Add(first);
    root->Add(second);
    EXPECT_EQ(w.Pm().FindControl(L"btnLinkTv"), first);
    root->Remove(first);
    EXPECT_EQ(w.Pm().FindControl(L"btnLinkTv"), second);
}

TEST_F(ControlsTest, ProgressAndLabelAcceptValuesFromAWorker) {
    auto* pro = w.Get<CProgressUI>(L"pro");
    auto* lbl = w.Get<CLabelUI>(L"lblTitle");
    std::thread worker([&] {
        for (int v = 0; v <= 100; v += 10) pro->SetValue(v);
        pro->SetValue(250);  // clamped
        lbl->SetText(L"正在下载:a.dll");
    });
    worker.join();
    ASSERT_TRUE(driver.PumpUntil(
        [&] { return pro->GetValue() == 100 && lbl->GetText() == L"正在下载:a.dll"; }));
    EXPECT_FALSE(w.NoteTypesOf(L"pro").empty());
    EXPECT_EQ(w.NoteTypesOf(L"pro").back(), L"valuechanged");
}

TEST_F(ControlsTest, HotTextColourFollowsThePointer) {
    auto* go = w.Get<CButtonUI>(L"btnGo");
    go->SetHotTextColor(0xFFCCCCCC);
    driver.MoveMouse(hwnd, driver.CenterOf(hwnd, L"btnGo"));
    EXPECT_EQ(go->GetButtonState() & UISTATE_HOT, UISTATE_HOT);
    driver.LeaveWindow(hwnd);
    EXPECT_EQ(go->GetButtonState() & UISTATE_HOT, 0u);
}

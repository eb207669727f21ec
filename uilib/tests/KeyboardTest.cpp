// The keyboard without a pointer: Tab and Shift+Tab over the controls a person can see
// and use, the focus ring, Space and Enter, Escape, and what a screen reader is told.

#include <gtest/gtest.h>

#include <algorithm>

#include "TestWindow.h"
#include "uilib/src/Backend.h"
#include "uilib/src/window/WindowImpl.h"
#include "uilib/src/window/WindowInput.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

constexpr DWORD kRing = 0xFF168A9A;

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestArchive();
        ASSERT_NE(h = w.Make(nullptr, true), nullptr);
        driver.Pump();
    }
    CDuiString FocusName() {
        CControlUI* focus = w.Pm().GetFocus();
        return focus ? focus->GetName() : CDuiString(L"(none)");
    }
    std::vector<std::wstring> Walk(int steps, WPARAM modifiers = 0) {
        std::vector<std::wstring> seen;
        for (int i = 0; i < steps; ++i) {
            EXPECT_TRUE(driver.PressKey(h, VK_TAB, modifiers));
            seen.push_back(FocusName().str());
        }
        return seen;
    }
    bool RingAround(const CControlUI* control) {
        const RECT rc = control->GetPos();
        const auto calls = backend.Paint(h);
        return std::any_of(calls.begin(), calls.end(), [&](const auto& call) {
            return call.color == kRing && call.rect.left >= rc.left &&
                   call.rect.right <= rc.right && call.rect.top >= rc.top &&
                   call.rect.bottom <= rc.bottom;
        });
    }

    UiLib::testing::TestBackend backend;
    UiLib::testing::UiTestDriver driver{backend};
    TestWindow w{L"controls.xml"};
    HWND h = nullptr;
};

TEST_F(KeyboardTest, TabVisitsOnlyControlsThatCanBeSeenAndUsedInReadingOrder) {
    w.Get<CControlUI>(L"title")->SetVisible(false);  // its close button with it
    w.Get<CControlUI>(L"opt1")->SetVisible(false);
    w.Get<CControlUI>(L"chk")->SetEnabled(false);
    // Moved out of the window: no stop either.
    auto* go = w.Get<CControlUI>(L"btnGo");
    go->SetFloat(true);
    go->SetFixedXY(SIZE{900, 0});
    go->SetFixedWidth(40);
    go->SetFixedHeight(20);
    driver.Pump();

    // Each key's modifiers are what GetKeyState answers while it is handled.
    std::vector<short> shiftStates;
    w.onMessage = [&](UINT msg, WPARAM, LPARAM) {
        if (msg == WM_KEYDOWN) shiftStates.push_back(GetKeyState(VK_SHIFT));
    };
    EXPECT_EQ(Walk(7), (std::vector<std::wstring>{L"opt0", L"opt2", L"edt", L"lst", L"row0",
                                                  L"row1", L"opt0"}));
    EXPECT_EQ(shiftStates.front(), 0);
    // Shift+Tab goes back, wrapping at the start.
    EXPECT_EQ(Walk(3, MK_SHIFT), (std::vector<std::wstring>{L"row1", L"row0", L"lst"}));
    EXPECT_LT(shiftStates.back(), 0);
    w.onMessage = nullptr;
    // A stop that is hidden while it has the focus hands on to its neighbour.
    w.Pm().FindControl(L"opt2")->SetFocus();
    w.Get<CControlUI>(L"opt2")->SetVisible(false);
    EXPECT_EQ(Walk(1), (std::vector<std::wstring>{L"opt0"}));
}

TEST_F(KeyboardTest, EveryFocusedStopShowsARingUnlessItHasAFocusedLookOfItsOwn) {
    auto* go = w.Get<CButtonUI>(L"btnGo");
    EXPECT_FALSE(RingAround(go));
    go->SetFocus();
    EXPECT_TRUE(RingAround(go));
    auto* opt = w.Get<COptionUI>(L"opt0");
    opt->SetFocus();
    EXPECT_FALSE(RingAround(go));
    EXPECT_TRUE(RingAround(opt));
    opt->SetFocusedImage(L"button.png");  // the skin's focused picture stands for the ring
    EXPECT_FALSE(RingAround(opt));
    auto* edit = w.Get<CEditUI>(L"edt");
    edit->SetFocusedImage(L"button.png");
    edit->SetFocus();
    EXPECT_FALSE(RingAround(edit));
    // A label is no stop: it draws no ring even when the program focuses it.
    w.Pm().SetFocus(w.Get<CControlUI>(L"lblTitle"));
    EXPECT_FALSE(RingAround(w.Get<CControlUI>(L"lblTitle")));
}

TEST_F(KeyboardTest, SpaceAndEnterPressTheFocusedControlAndEscapeCancels) {
    w.Pm().FindControl(L"btnGo")->SetFocus();
    w.notes.clear();
    ASSERT_TRUE(driver.PressKey(h, VK_RETURN));
    EXPECT_EQ(w.NoteTypesOf(L"btnGo"), (std::vector<std::wstring>{L"click"}));
    w.Pm().FindControl(L"opt2")->SetFocus();
    ASSERT_TRUE(driver.PressKey(h, VK_SPACE));
    EXPECT_TRUE(w.Get<COptionUI>(L"opt2")->IsSelected());
    EXPECT_FALSE(w.Get<COptionUI>(L"opt0")->IsSelected());
    w.Pm().FindControl(L"chk")->SetFocus();
    ASSERT_TRUE(driver.PressKey(h, VK_SPACE));
    EXPECT_TRUE(w.Get<COptionUI>(L"chk")->IsSelected());

    // Escape presses the close button, as long as it can be seen.
    w.hideOnClose = true;
    w.Get<CControlUI>(L"title")->SetVisible(false);
    ASSERT_TRUE(driver.PressKey(h, VK_ESCAPE));
    driver.Pump();
    EXPECT_TRUE(w.closeParams.empty());
    w.Get<CControlUI>(L"title")->SetVisible(true);
    SendMessageW(h, WM_KEYUP, VK_ESCAPE, 0);  // the press decides, not the release
    driver.Pump();
    EXPECT_TRUE(w.closeParams.empty());
    SendMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(driver.PumpUntil([&] { return !w.closeParams.empty(); }));
}

TEST_F(KeyboardTest, AssistiveTechnologyHearsRolesNamesStatesAndTheFocus) {
    backend::AccessibleTree& tree = detail::ImplOf(h)->input->Accessibility();
    const auto describe = [&](LPCTSTR name) {
        AccessInfo info;
        EXPECT_TRUE(tree.Describe(w.Pm().FindControl(name)->GetAccessId(), info)) << name;
        return info;
    };
    EXPECT_EQ(describe(L"btnGo").role, AccessRole::Button);
    EXPECT_EQ(describe(L"btnGo").name, L"Go");
    EXPECT_EQ(describe(L"btnGo").description, L"出发");
    EXPECT_EQ(describe(L"opt0").role, AccessRole::RadioButton);
    EXPECT_EQ(describe(L"opt0").state & (kAccessCheckable | kAccessChecked),
              kAccessCheckable | kAccessChecked);
    EXPECT_EQ(describe(L"chk").role, AccessRole::CheckBox);
    EXPECT_EQ(describe(L"edt").role, AccessRole::Edit);
    EXPECT_EQ(describe(L"pro").role, AccessRole::ProgressBar);
    EXPECT_EQ(describe(L"pro").value, L"10");
    EXPECT_EQ(describe(L"lblTitle").role, AccessRole::StaticText);
    EXPECT_EQ(describe(L"tabs").role, AccessRole::PageTabList);
    EXPECT_EQ(describe(L"row1").role, AccessRole::ListItem);
    EXPECT_TRUE(describe(L"page0").state & kAccessInvisible);
    w.Get<CControlUI>(L"btnGo")->SetEnabled(false);
    EXPECT_TRUE(describe(L"btnGo").state & kAccessDisabled);

    // Plain layouts are looked through: the window's children are the controls, in order.
    const std::vector<AccessId> top = tree.Children(0);
    ASSERT_GE(top.size(), 3u);
    EXPECT_EQ(top[0], w.Pm().FindControl(L"lblTitle")->GetAccessId());
    EXPECT_EQ(top[1], w.Pm().FindControl(L"closebtn")->GetAccessId());
    const AccessId tabs = w.Pm().FindControl(L"tabs")->GetAccessId();
    EXPECT_EQ(tree.Children(tabs).size(), 3u);
    EXPECT_EQ(tree.Parent(w.Pm().FindControl(L"page1")->GetAccessId()), tabs);
    EXPECT_EQ(tree.Parent(tabs), 0u);
    const POINT go = driver.CenterOf(h, L"btnGo");
    EXPECT_EQ(tree.At(go), w.Pm().FindControl(L"btnGo")->GetAccessId());
    // A bare decoration stands for nothing: its shown ancestor (here the window) answers.
    EXPECT_EQ(tree.At(driver.CenterOf(h, L"filler")), 0u);

    // Focus changes are announced; a control that is gone describes nothing.
    ASSERT_TRUE(driver.PressKey(h, VK_TAB));
    ASSERT_FALSE(backend.AnnouncedFocus(h).empty());
    EXPECT_EQ(backend.AnnouncedFocus(h).back(), w.Pm().GetFocus()->GetAccessId());
    EXPECT_EQ(tree.Focus(), w.Pm().GetFocus()->GetAccessId());
    const AccessId row = w.Pm().FindControl(L"row0")->GetAccessId();
    w.Get<CListUI>(L"lst")->RemoveAt(0);
    driver.Pump();
    AccessInfo gone;
    EXPECT_FALSE(tree.Describe(row, gone));
    EXPECT_TRUE(tree.Press(w.Pm().FindControl(L"opt1")->GetAccessId()));
    EXPECT_TRUE(w.Get<COptionUI>(L"opt1")->IsSelected());
}

}  // namespace

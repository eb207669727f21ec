#include <gtest/gtest.h>

#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestArchive(); }
    RECT Pos(TestWindow& w, LPCTSTR name) {
        w.Pm().UpdateLayout();
        CControlUI* c = w.Pm().FindControl(name);
        EXPECT_NE(c, nullptr) << "no control " << WideToUtf8(name);
        return c ? c->GetPos() : RECT{-1, -1, -1, -1};
    }
    UiLib::testing::TestBackend backend;
    UiLib::testing::UiTestDriver driver{backend};
};

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

}  // namespace

TEST_F(LayoutTest, VerticalFixedHeightsAndSharedRest) {
    TestWindow w(L"vertical.xml");
    ASSERT_NE(w.Make(), nullptr);
    ExpectRect(Pos(w, L"root"), 0, 0, 200, 300);
    // Inner area 180 x 280; 50 + 40 fixed, 3 gaps of 5; 175 shared by b and d.
    ExpectRect(Pos(w, L"a"), 10, 10, 190, 60);
    ExpectRect(Pos(w, L"b"), 10, 65, 190, 152);
    ExpectRect(Pos(w, L"c"), 15, 157, 115, 197);  // fixed width sits left, after its padding
    ExpectRect(Pos(w, L"d"), 10, 202, 190, 290);
    ExpectRect(Pos(w, L"f"), 20, 30, 70, 60);  // floats by pos, relative to the parent
}

TEST_F(LayoutTest, HiddenChildrenTakeNoSpaceAndShowingOneRelaysOut) {
    TestWindow w(L"vertical.xml");
    ASSERT_NE(w.Make(), nullptr);
    w.Pm().FindControl(L"e")->SetVisible(true);
    // Now 110 fixed and 4 gaps: 150 shared; e comes last.
    ExpectRect(Pos(w, L"b"), 10, 65, 190, 140);
    ExpectRect(Pos(w, L"d"), 10, 190, 190, 265);
    ExpectRect(Pos(w, L"e"), 10, 270, 190, 290);
    w.Pm().FindControl(L"a")->SetVisible(false);
    // 60 fixed, 3 gaps: 205 shared, the odd pixel to the last share.
    ExpectRect(Pos(w, L"b"), 10, 10, 190, 112);
    ExpectRect(Pos(w, L"d"), 10, 162, 190, 265);
}

TEST_F(LayoutTest, HorizontalWithMinimumWidthPaddingAndNestedFloats) {
    TestWindow w(L"horizontal.xml");
    ASSERT_NE(w.Make(), nullptr);
    ExpectRect(Pos(w, L"a"), 5, 5, 45, 95);
    // b's share (87) is below its minimum: it takes 150 and c gets the rest.
    ExpectRect(Pos(w, L"b"), 49, 5, 199, 95);
    ExpectRect(Pos(w, L"c"), 205, 15, 229, 45);
    ExpectRect(Pos(w, L"d"), 235, 5, 295, 95);
    ExpectRect(Pos(w, L"d1"), 238, 8, 292, 92);  // a plain container fills its inset area
    ExpectRect(Pos(w, L"d2"), 230, -3, 240, 7);  // negative positions are kept
    ExpectRect(Pos(w, L"d3"), 245, 5, 261, 21);  // width/height given after pos
}

TEST_F(LayoutTest, RuntimeFloatingButtonsLikeASelectColumn) {
    TestWindow w(L"vertical.xml");
    ASSERT_NE(w.Make(), nullptr);
    auto* column = w.Get<CContainerUI>(L"b");
    ASSERT_EQ(column, nullptr);  // "b" is a plain control; build a column next to it
    auto* root = w.Get<CContainerUI>(L"root");
    auto* col = new CVerticalLayoutUI;
    col->SetName(L"col");
    col->SetFixedHeight(40);
    ASSERT_TRUE(root->Add(col));
    const int count = 12;
    const int top = 85 - 8 * count;  // negative: the first buttons sit above the column
    for (int i = 0; i < count; ++i) {
        auto* option = new COptionUI;
        col->Add(option);
        CDuiString pos;
        pos.Format(L"0,%d,0,0", top + 16 * i);
        option->SetAttribute(L"float", L"true");
        option->SetAttribute(L"pos", pos);
        option->SetAttribute(L"width", L"16");
        option->SetAttribute(L"height", L"16");
        option->SetAttribute(L"group", L"btnSelectTv");
        CDuiString name;
        name.Format(L"btnSelectTv%d", i);
        option->SetName(name);
        option->SetTag(static_cast<UINT_PTR>(i));
        if (i == 0) option->Selected(true);
    }
    const RECT colPos = Pos(w, L"col");
    const RECT first = Pos(w, L"btnSelectTv0");
    EXPECT_EQ(first.top, colPos.top + top);
    EXPECT_EQ(first.bottom - first.top, 16);
    EXPECT_EQ(first.right - first.left, 16);
    const RECT last = Pos(w, L"btnSelectTv11");
    EXPECT_EQ(last.top, colPos.top + top + 16 * 11);
    // Painting and hit-testing such a column is harmless; every option is painted.
    EXPECT_TRUE(driver.ClickAt(w.GetHWND(), POINT{5, colPos.top + 1}));
    const auto calls = backend.Paint(w.GetHWND());
    EXPECT_FALSE(calls.empty());
}

TEST_F(LayoutTest, ZeroSizedAndDegenerateGeometryIsHarmless) {
    TestWindow w(L"vertical.xml");
    ASSERT_NE(w.Make(), nullptr);
    auto* root = w.Get<CContainerUI>(L"root");
    auto* tiny = new CHorizontalLayoutUI;
    tiny->SetFixedHeight(0);
    tiny->SetFloat(true);
    tiny->SetAttribute(L"pos", L"50,50,40,40");  // right/bottom before left/top
    tiny->Add(new CLabelUI);
    root->Add(tiny);
    tiny->SetPos(RECT{10, 10, 5, 5});
    EXPECT_EQ(tiny->GetWidth(), 0);
    EXPECT_EQ(tiny->GetHeight(), 0);
    w.ResizeClient(1, 1);
    driver.Pump();
    EXPECT_FALSE(backend.Paint(w.GetHWND()).empty());
}

TEST_F(LayoutTest, SetPosOfAFloatKeepsItsPlaceOnTheNextLayout) {
    TestWindow w(L"vertical.xml");
    ASSERT_NE(w.Make(), nullptr);
    CControlUI* f = w.Pm().FindControl(L"f");
    f->SetPos(RECT{0, 0, 120, 240});
    w.Pm().FindControl(L"e")->SetVisible(true);  // forces the parent to lay out again
    ExpectRect(Pos(w, L"f"), 0, 0, 120, 240);
    w.ResizeClient(300, 400);
    driver.Pump();
    ExpectRect(Pos(w, L"root"), 0, 0, 300, 400);
    ExpectRect(Pos(w, L"a"), 10, 10, 290, 60);
}

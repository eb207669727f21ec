#include <gtest/gtest.h>

#include "Pixels.h"
#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class StatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestArchive();
        ASSERT_NE(w.Make(nullptr, true), nullptr);
        h = w.GetHWND();
        driver.Pump();
    }
    DWORD Px(int x, int y) { return driver.PixelAt(h, POINT{x, y}) | 0xFF000000u; }
    UiLib::testing::UiTestDriver driver;
    TestWindow w{L"states.xml"};
    HWND h = nullptr;
};

int InkRows(const backend::Bitmap& image, const RECT& rc) {
    int rows = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (Red(image.At(x, y)) < 128) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

}  // namespace

TEST_F(StatesTest, ButtonImagesFollowNormalHotPushedAndDisabled) {
    EXPECT_EQ(Px(30, 20), Rgb(255, 0, 0));  // normal: the red block
    driver.MoveMouse(h, POINT{30, 20});
    EXPECT_EQ(Px(30, 20), Rgb(0, 255, 0));  // hot: green
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    EXPECT_EQ(Px(30, 20), Rgb(0, 0, 255));  // pushed: blue
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
    EXPECT_EQ(Px(30, 20), Rgb(0, 255, 0));
    w.Pm().FindControl(L"btn")->SetEnabled(false);
    EXPECT_EQ(Px(30, 20), Rgb(255, 0, 0));  // disabled: red.png
    // A disabled button sends no click.
    w.notes.clear();
    ASSERT_TRUE(driver.Click(h, L"btn"));
    const auto notes = w.NoteTypesOf(L"btn");
    EXPECT_EQ(std::find(notes.begin(), notes.end(), L"click"), notes.end());
}

TEST_F(StatesTest, OptionsDrawTheirSelectedImage) {
    EXPECT_EQ(Px(80, 20), Rgb(0, 0, 255));   // optA selected
    EXPECT_EQ(Px(120, 20), Rgb(255, 0, 0));  // optB normal
    ASSERT_TRUE(driver.Click(h, L"optB"));
    driver.LeaveWindow(h);
    EXPECT_EQ(Px(80, 20), Rgb(255, 0, 0));
    EXPECT_EQ(Px(120, 20), Rgb(0, 0, 255));
}

TEST_F(StatesTest, ProgressShowsTheMatchingPartOfItsForeImage) {
    // The bar spans x 140..240; the 60-pixel sprite keeps the scale of the whole bar
    // (red to 173, green to 207, blue to 240), and 50 % shows its left half.
    EXPECT_EQ(Px(165, 20), Rgb(255, 0, 0));
    EXPECT_EQ(Px(182, 20), Rgb(0, 255, 0));
    EXPECT_EQ(Px(200, 20), Rgb(255, 255, 255));
    w.Get<CProgressUI>(L"pro")->SetValue(100);
    EXPECT_EQ(Px(200, 20), Rgb(0, 255, 0));
    EXPECT_EQ(Px(230, 20), Rgb(0, 0, 255));
    w.Get<CProgressUI>(L"pro")->SetValue(0);
    EXPECT_EQ(Px(165, 20), Rgb(255, 255, 255));
}

TEST_F(StatesTest, TextWrapsAndALabelStaysOnOneLine) {
    const backend::Bitmap img = driver.Picture(h);
    ASSERT_FALSE(img.Empty());
    const RECT wrap = w.Pm().FindControl(L"wrap")->GetPos();
    const RECT one = w.Pm().FindControl(L"one")->GetPos();
    const int wrapRows = InkRows(img, wrap);
    const int oneRows = InkRows(img, one);
    EXPECT_GT(oneRows, 5);
    // Thirty characters of 14 pixels need two lines in 300 pixels.
    EXPECT_GE(wrapRows, oneRows * 2 - 2);
    // The one-line label ends in an ellipsis: no ink in the last pixels.
    bool inkAtEnd = false;
    for (int y = one.top; y < one.bottom; ++y) {
        inkAtEnd |= Red(img.At(one.right - 2, y)) < 128;
    }
    EXPECT_FALSE(inkAtEnd);
}

TEST_F(StatesTest, ListScrollsWithTheWheel) {
    auto* list = w.Get<CListUI>(L"lst");
    w.Pm().UpdateLayout();
    const RECT rc = list->GetPos();
    const POINT inside{(rc.left + rc.right) / 2, rc.top + 5};
    EXPECT_EQ(list->GetScrollOffset(), 0);
    ASSERT_TRUE(driver.Wheel(h, inside, -120));
    EXPECT_GT(list->GetScrollOffset(), 0);
    ASSERT_TRUE(driver.Wheel(h, inside, -1200));
    EXPECT_EQ(list->GetScrollOffset(), 100 - 50);  // never past the last row
    w.Pm().UpdateLayout();
    EXPECT_EQ(list->GetItemAt(4)->GetPos().bottom, rc.bottom);
    ASSERT_TRUE(driver.Wheel(h, inside, 1200));
    EXPECT_EQ(list->GetScrollOffset(), 0);
}

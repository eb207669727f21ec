#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <fstream>

#include "TestWindow.h"
#include "uilib/src/WindowHost.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestArchive(); }
    QImage Grab(HWND h) {
        const std::string path = ::testing::TempDir() + "/render-test.png";
        EXPECT_TRUE(driver.SaveWindowPng(h, path));
        QImage image(QString::fromStdString(path));
        EXPECT_FALSE(image.isNull());
        return image;
    }
    static bool IsInk(QRgb px, QRgb background) { return px != background; }
    // Height of the rows that hold non-background pixels inside a rectangle.
    static int InkHeight(const QImage& image, const RECT& rc, QRgb background) {
        int top = -1, bottom = -1;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                if (IsInk(image.pixel(x, y), background)) {
                    if (top < 0) top = y;
                    bottom = y;
                    break;
                }
            }
        }
        return top < 0 ? 0 : bottom - top + 1;
    }
    UiLib::testing::UiTestDriver driver;
};

}  // namespace

TEST_F(RenderTest, ImagesWholePartNinePatchDestAndMissing) {
    TestWindow w(L"images.xml");
    const HWND h = w.Make();
    const QImage img = Grab(h);
    ASSERT_EQ(img.width(), 200);
    // red.png stretched over 40 x 100.
    EXPECT_EQ(img.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(35, 95), qRgb(255, 0, 0));
    // source='20,0,40,20' of the sprite: its green block only.
    EXPECT_EQ(img.pixel(45, 5), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(78, 95), qRgb(0, 255, 0));
    // corner='4,4,4,4': the 4-pixel blue frame stays 4 pixels wide, the centre stretches.
    EXPECT_EQ(img.pixel(81, 50), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(83, 50), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(85, 50), qRgb(255, 255, 0));
    EXPECT_EQ(img.pixel(100, 50), qRgb(255, 255, 0));
    EXPECT_EQ(img.pixel(116, 50), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(100, 2), qRgb(0, 0, 255));
    // A missing image draws nothing: the white background shows.
    EXPECT_EQ(img.pixel(140, 50), qRgb(255, 255, 255));
    // dest='10,10,20,20' places the image inside the control.
    EXPECT_EQ(img.pixel(175, 15), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(165, 15), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(175, 25), qRgb(255, 255, 255));
}

TEST_F(RenderTest, ImagesFromDiskByAbsolutePathFollowTheFile) {
    TestWindow w(L"images.xml");
    const HWND h = w.Make();
    const std::string path = ::testing::TempDir() + "/poster-test.png";
    std::remove(path.c_str());
    CControlUI* missing = w.Pm().FindControl(L"missing");
    missing->SetBkImage(Utf8ToWide(path).c_str());
    EXPECT_EQ(Grab(h).pixel(140, 50), qRgb(255, 255, 255));  // not there yet
    // The file appears later (a finished download): the next paint shows it.
    {
        std::ifstream src(std::string(UILIB_TEST_DATA_DIR) + "/green.png", std::ios::binary);
        std::ofstream dst(path, std::ios::binary);
        dst << src.rdbuf();
    }
    missing->Invalidate();
    EXPECT_EQ(Grab(h).pixel(140, 50), qRgb(0, 255, 0));
    std::remove(path.c_str());
}

TEST_F(RenderTest, BackgroundColoursAndBordersOfTheLayout) {
    TestWindow w(L"vertical.xml");
    const HWND h = w.Make();
    const QImage img = Grab(h);
    EXPECT_EQ(img.pixel(100, 30), qRgb(255, 0, 0));       // a
    EXPECT_EQ(img.pixel(100, 100), qRgb(0, 255, 0));      // b
    EXPECT_EQ(img.pixel(50, 180), qRgb(0, 0, 255));       // c
    EXPECT_EQ(img.pixel(150, 180), qRgb(255, 255, 255));  // right of c: nothing drawn
    EXPECT_EQ(img.pixel(30, 40), qRgb(0, 0, 0));          // f floats over a
    auto* b = w.Pm().FindControl(L"b");
    b->SetAttribute(L"bottombordersize", L"1");
    b->SetBorderColor(0xFF8C8C8C);
    const QImage bordered = Grab(h);
    EXPECT_EQ(bordered.pixel(100, 151), qRgb(0x8C, 0x8C, 0x8C));
    EXPECT_EQ(bordered.pixel(100, 150), qRgb(0, 255, 0));
}

TEST_F(RenderTest, LabelTextAndFontMarkupSizes) {
    TestWindow w(L"vertical.xml");
    const HWND h = w.Make();
    auto* root = w.Get<CContainerUI>(L"root");
    w.Pm().AddFont(3, L"微软雅黑", 12, false, false, false);
    w.Pm().AddFont(4, L"微软雅黑", 36, true, false, false);
    auto* small = new CLabelUI;
    small->SetFloat(true);
    small->SetAttribute(L"pos", L"0,0,200,60");
    small->SetAttribute(L"bkcolor", L"#FFFFFFFF");
    small->SetShowHtml(true);
    small->SetText(L"{f 3}分{/f}");
    root->Add(small);
    QImage img = Grab(h);
    const int smallInk = InkHeight(img, RECT{0, 0, 200, 60}, qRgb(255, 255, 255));
    small->SetText(L"{f 4}分{/f}");
    img = Grab(h);
    const int bigInk = InkHeight(img, RECT{0, 0, 200, 60}, qRgb(255, 255, 255));
    EXPECT_GT(smallInk, 5);
    EXPECT_GT(bigInk, smallInk * 2);
    // Unbalanced markup is drawn as text: more ink than the bare character.
    small->SetShowHtml(false);
    small->SetText(L"{f 4}分{/f}");
    img = Grab(h);
    EXPECT_GT(InkHeight(img, RECT{0, 0, 200, 60}, qRgb(255, 255, 255)), 5);
}

TEST_F(RenderTest, SampleLayoutRendersWithChineseTextAndRoundCorners) {
    TestWindow w(L"sample.xml");
    const HWND h = w.Make();
    const std::string path = ::testing::TempDir() + "/sample.png";
    ASSERT_TRUE(driver.SaveWindowPng(h, path));
    QImage img(QString::fromStdString(path));
    ASSERT_EQ(img.size(), QSize(400, 240));
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);  // outside the round corner
    EXPECT_EQ(qAlpha(img.pixel(200, 120)), 255);
    // The progress bar is 60 % filled with its colour and white after that.
    CControlUI* pro = w.Pm().FindControl(L"proFile");
    const RECT r = pro->GetPos();
    const int y = (r.top + r.bottom) / 2;
    const int width = r.right - r.left;
    EXPECT_EQ(img.pixel(r.left + width * 3 / 10, y), qRgb(0x33, 0x99, 0xCC));
    EXPECT_EQ(img.pixel(r.left + width * 9 / 10, y), qRgb(255, 255, 255));
    // The title text leaves bright ink on the dark title bar.
    int bright = 0;
    for (int x = 10; x < 120; ++x) {
        for (int yy = 8; yy < 26; ++yy) {
            const QRgb px = img.pixel(x, yy);
            bright += (qRed(px) > 200 && qGreen(px) > 200 && qBlue(px) > 200) ? 1 : 0;
        }
    }
    EXPECT_GT(bright, 40);
    // The window's shape has rounded corners: the corner pixel is outside it.
    detail::WindowHost* host = detail::HostOf(h);
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(host->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(host->mask().contains(QPoint(6, 6)));
    EXPECT_TRUE(host->mask().contains(QPoint(200, 120)));
}

TEST(UilibView, RendersALayoutOfAnArchiveToPng) {
    const std::string out = ::testing::TempDir() + "/uilib-view-sample.png";
    std::remove(out.c_str());
    const std::string command = std::string(TROVIK_BIN_DIR) + "/uilib-view --zip " +
                                UILIB_TEST_ZIP + " --layout sample.xml --out " + out +
                                " --size 320x200 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(320, 200));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(160, 100)), 255);
    const std::string missing = std::string(TROVIK_BIN_DIR) + "/uilib-view --zip " +
                                UILIB_TEST_ZIP + " --layout nothere.xml --out " + out +
                                " 2>/dev/null";
    EXPECT_NE(std::system(missing.c_str()), 0);
    EXPECT_NE(std::system((std::string(TROVIK_BIN_DIR) + "/uilib-view --zip 2>/dev/null").c_str()),
              0);
}

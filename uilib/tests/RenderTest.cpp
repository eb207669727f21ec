#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "Pixels.h"
#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestArchive(); }
    backend::Bitmap Grab(HWND h) {
        backend::Bitmap image = driver.Picture(h);
        EXPECT_FALSE(image.Empty());
        return image;
    }
    // Height of the rows that hold non-background pixels inside a rectangle.
    static int InkHeight(const backend::Bitmap& image, const RECT& rc, DWORD background) {
        int top = -1, bottom = -1;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                if (image.At(x, y) != background) {
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

// The size of the picture in a file, as the backend decodes it ({0, 0}: not a picture).
std::pair<LONG, LONG> PictureSizeOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    UiLib::testing::UiTestDriver driver;  // the backend that decodes
    const auto image = backend::CurrentBackend()->DecodeImage(bytes.data(), bytes.size());
    return image ? std::pair<LONG, LONG>{image->Size().cx, image->Size().cy}
                 : std::pair<LONG, LONG>{0, 0};
}

}  // namespace

TEST_F(RenderTest, ImagesWholePartNinePatchDestAndMissing) {
    TestWindow w(L"images.xml");
    const HWND h = w.Make();
    const backend::Bitmap img = Grab(h);
    ASSERT_EQ(img.width, 200);
    // red.png stretched over 40 x 100.
    EXPECT_EQ(img.At(5, 5), Rgb(255, 0, 0));
    EXPECT_EQ(img.At(35, 95), Rgb(255, 0, 0));
    // source='20,0,40,20' of the sprite: its green block only.
    EXPECT_EQ(img.At(45, 5), Rgb(0, 255, 0));
    EXPECT_EQ(img.At(78, 95), Rgb(0, 255, 0));
    // corner='4,4,4,4': the 4-pixel blue frame stays 4 pixels wide, the centre stretches.
    EXPECT_EQ(img.At(81, 50), Rgb(0, 0, 255));
    EXPECT_EQ(img.At(83, 50), Rgb(0, 0, 255));
    EXPECT_EQ(img.At(85, 50), Rgb(255, 255, 0));
    EXPECT_EQ(img.At(100, 50), Rgb(255, 255, 0));
    EXPECT_EQ(img.At(116, 50), Rgb(0, 0, 255));
    EXPECT_EQ(img.At(100, 2), Rgb(0, 0, 255));
    // A missing image draws nothing: the white background shows.
    EXPECT_EQ(img.At(140, 50), Rgb(255, 255, 255));
    // dest='10,10,20,20' places the image inside the control.
    EXPECT_EQ(img.At(175, 15), Rgb(255, 0, 0));
    EXPECT_EQ(img.At(165, 15), Rgb(255, 255, 255));
    EXPECT_EQ(img.At(175, 25), Rgb(255, 255, 255));
}

TEST_F(RenderTest, ImagesFromDiskByAbsolutePathFollowTheFile) {
    TestWindow w(L"images.xml");
    const HWND h = w.Make();
    const std::string path = ::testing::TempDir() + "/poster-test.png";
    std::remove(path.c_str());
    CControlUI* missing = w.Pm().FindControl(L"missing");
    missing->SetBkImage(Utf8ToWide(path).c_str());
    EXPECT_EQ(Grab(h).At(140, 50), Rgb(255, 255, 255));  // not there yet
    // The file appears later (a finished download): the next paint shows it.
    {
        std::ifstream src(std::string(UILIB_TEST_DATA_DIR) + "/green.png", std::ios::binary);
        std::ofstream dst(path, std::ios::binary);
        dst << src.rdbuf();
    }
    missing->Invalidate();
    EXPECT_EQ(Grab(h).At(140, 50), Rgb(0, 255, 0));
    std::remove(path.c_str());
}

TEST_F(RenderTest, BackgroundColoursAndBordersOfTheLayout) {
    TestWindow w(L"vertical.xml");
    const HWND h = w.Make();
    const backend::Bitmap img = Grab(h);
    EXPECT_EQ(img.At(100, 30), Rgb(255, 0, 0));       // a
    EXPECT_EQ(img.At(100, 100), Rgb(0, 255, 0));      // b
    EXPECT_EQ(img.At(50, 180), Rgb(0, 0, 255));       // c
    EXPECT_EQ(img.At(150, 180), Rgb(255, 255, 255));  // right of c: nothing drawn
    EXPECT_EQ(img.At(30, 40), Rgb(0, 0, 0));          // f floats over a
    auto* b = w.Pm().FindControl(L"b");
    b->SetAttribute(L"bottombordersize", L"1");
    b->SetBorderColor(0xFF8C8C8C);
    const backend::Bitmap bordered = Grab(h);
    EXPECT_EQ(bordered.At(100, 151), Rgb(0x8C, 0x8C, 0x8C));
    EXPECT_EQ(bordered.At(100, 150), Rgb(0, 255, 0));
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
    backend::Bitmap img = Grab(h);
    const int smallInk = InkHeight(img, RECT{0, 0, 200, 60}, Rgb(255, 255, 255));
    small->SetText(L"{f 4}分{/f}");
    img = Grab(h);
    const int bigInk = InkHeight(img, RECT{0, 0, 200, 60}, Rgb(255, 255, 255));
    EXPECT_GT(smallInk, 5);
    EXPECT_GT(bigInk, smallInk * 2);
    // Unbalanced markup is drawn as text: more ink than the bare character.
    small->SetShowHtml(false);
    small->SetText(L"{f 4}分{/f}");
    img = Grab(h);
    EXPECT_GT(InkHeight(img, RECT{0, 0, 200, 60}, Rgb(255, 255, 255)), 5);
}

TEST_F(RenderTest, SampleLayoutRendersWithChineseTextAndRoundCorners) {
    TestWindow w(L"sample.xml");
    const HWND h = w.Make();
    const backend::Bitmap img = Grab(h);
    ASSERT_EQ(img.width, 400);
    ASSERT_EQ(img.height, 240);
    // The window's shape has rounded corners: the corner pixel is outside it.
    EXPECT_EQ(Alpha(img.At(0, 0)), 0);
    EXPECT_EQ(Alpha(img.At(6, 6)), 255);
    EXPECT_EQ(Alpha(img.At(200, 120)), 255);
    // The progress bar is 60 % filled with its colour and white after that.
    CControlUI* pro = w.Pm().FindControl(L"proFile");
    const RECT r = pro->GetPos();
    const int y = (r.top + r.bottom) / 2;
    const int width = r.right - r.left;
    EXPECT_EQ(img.At(r.left + width * 3 / 10, y), Rgb(0x33, 0x99, 0xCC));
    EXPECT_EQ(img.At(r.left + width * 9 / 10, y), Rgb(255, 255, 255));
    // The title text leaves bright ink on the dark title bar.
    int bright = 0;
    for (int x = 10; x < 120; ++x) {
        for (int yy = 8; yy < 26; ++yy) {
            const DWORD px = img.At(x, yy);
            bright += (Red(px) > 200 && Green(px) > 200 && Blue(px) > 200) ? 1 : 0;
        }
    }
    EXPECT_GT(bright, 40);
    // The same picture as a PNG file.
    const std::string path = ::testing::TempDir() + "/sample.png";
    ASSERT_TRUE(driver.SaveWindowPng(h, path));
    EXPECT_EQ(PictureSizeOf(path), (std::pair<LONG, LONG>{400, 240}));
}

TEST(UilibView, RendersALayoutOfAnArchiveToPng) {
    const std::string out = ::testing::TempDir() + "/uilib-view-sample.png";
    std::remove(out.c_str());
    const std::string command = std::string(TROVIK_BIN_DIR) + "/uilib-view --zip " +
                                UILIB_TEST_ZIP + " --layout sample.xml --out " + out +
                                " --size 320x200 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(PictureSizeOf(out), (std::pair<LONG, LONG>{320, 200}));
    const std::string missing = std::string(TROVIK_BIN_DIR) + "/uilib-view --zip " +
                                UILIB_TEST_ZIP + " --layout nothere.xml --out " + out +
                                " 2>/dev/null";
    EXPECT_NE(std::system(missing.c_str()), 0);
    EXPECT_NE(std::system((std::string(TROVIK_BIN_DIR) + "/uilib-view --zip 2>/dev/null").c_str()),
              0);
}

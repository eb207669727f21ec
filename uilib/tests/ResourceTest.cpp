#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestWindow.h"
#include "uilib/src/resources/ResourceStore.h"
#include "uilib/testing/RecordingCanvas.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestArchive(); }
    void TearDown() override {
        CPaintManagerUI::SetResourceZip(L"");
        UseTestArchive();
    }
    UiLib::testing::TestBackend backend;
    UiLib::testing::UiTestDriver driver{backend};
};

}  // namespace

TEST_F(ResourceTest, ArchiveNamesMatchExactlyThenWithoutCase) {
    std::string bytes;
    ASSERT_TRUE(CPaintManagerUI::LoadResourceFile(L"controls.xml", &bytes));
    EXPECT_NE(bytes.find("<Window"), std::string::npos);
    ASSERT_TRUE(CPaintManagerUI::LoadResourceFile(L"Button.PNG", &bytes));  // button.png
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_TRUE(CPaintManagerUI::LoadResourceFile(L".\\red.png", &bytes));
    EXPECT_FALSE(CPaintManagerUI::LoadResourceFile(L"absent.png", &bytes));
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, L"SPRITE.png").cx, 60);
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, L"file='sprite.png' source='20,0,40,20'").cx,
              20);
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, L"absent.png").cx, 0);
}

TEST_F(ResourceTest, WithoutAnArchiveFilesComeFromTheResourceFolder) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / "uilib-skin-folder";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::string(UILIB_TEST_DATA_DIR) + "/vertical.xml",
                               folder / "vertical.xml",
                               std::filesystem::copy_options::overwrite_existing);
    CPaintManagerUI::SetResourceZip(L"");
    CPaintManagerUI::SetResourcePath(Utf8ToWide(folder.string()).c_str());
    EXPECT_EQ(CPaintManagerUI::GetResourcePath().str().back(), L'/');
    TestWindow w(L"vertical.xml");
    ASSERT_NE(w.Create(nullptr, L"folder", WS_POPUP, 0), nullptr);
    EXPECT_NE(w.Pm().FindControl(L"f"), nullptr);
    // A missing archive leaves no archive: layouts still come from the folder.
    CPaintManagerUI::SetResourceZip(L"no-such-archive.zip");
    std::string bytes;
    EXPECT_TRUE(CPaintManagerUI::LoadResourceFile(L"vertical.xml", &bytes));
    EXPECT_FALSE(CPaintManagerUI::LoadResourceFile(L"controls.xml", &bytes));
}

TEST_F(ResourceTest, ArchiveBytesInMemoryAndBrokenArchives) {
    std::ifstream in(UILIB_TEST_ZIP, std::ios::binary);
    const std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(zip.size(), 100u);
    CPaintManagerUI::SetResourceZip(zip.data(), zip.size());
    std::string bytes;
    EXPECT_TRUE(CPaintManagerUI::LoadResourceFile(L"sample.xml", &bytes));
    const std::string garbage = "this is no zip archive";
    CPaintManagerUI::SetResourceZip(garbage.data(), garbage.size());
    EXPECT_FALSE(CPaintManagerUI::LoadResourceFile(L"sample.xml", &bytes));
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create(L"sample.xml"), nullptr);
}

TEST_F(ResourceTest, ParentResourcesServePopupWindows) {
    TestWindow owner(L"controls.xml");
    ASSERT_NE(owner.Make(), nullptr);
    owner.Pm().AddDefaultAttributeList(L"ExplandIcon", L"file='sprite.png' source='0,0,9,9'");
    CPaintManagerUI popup;
    popup.UseParentResource(&owner.Pm());
    EXPECT_EQ(popup.GetFontInfo(3).iSize, 20);
    EXPECT_EQ(popup.GetDefaultFontInfo().iSize, 14);
    ASSERT_NE(popup.GetDefaultAttributeList(L"ExplandIcon"), nullptr);
    EXPECT_EQ(std::wstring(popup.GetDefaultAttributeList(L"explandicon")),
              L"file='sprite.png' source='0,0,9,9'");
    popup.AddFont(3, L"宋体", 9, false, false, false);
    EXPECT_EQ(popup.GetFontInfo(3).iSize, 9);  // its own font wins
    EXPECT_EQ(owner.Pm().GetFontInfo(3).iSize, 20);
}

TEST_F(ResourceTest, TrayObjectTooltipAndFindByClass) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    CTrayIcon& tray = w.Pm().GetTrayObject();
    EXPECT_FALSE(tray.SetTooltipText(L"before"));
    ASSERT_TRUE(tray.CreateTrayIcon(h, 102, L"自动更新程序", nullptr, 2025));
    EXPECT_TRUE(tray.IsVisible());
    EXPECT_TRUE(tray.SetTooltipText(L"新的提示"));
    ASSERT_EQ(driver.TrayIcons().size(), 1u);
    EXPECT_EQ(driver.TrayIcons()[0].tip, L"新的提示");
    EXPECT_EQ(driver.TrayIcons()[0].callbackMessage, 2025u);
    tray.DeleteTrayIcon();
    EXPECT_FALSE(tray.IsVisible());
    EXPECT_TRUE(driver.TrayIcons().empty());
    EXPECT_EQ(w.Pm().FindSubControlsByClass(nullptr, L"OptionUI").size(), 3u);
    EXPECT_EQ(w.Pm().FindSubControlByClass(nullptr, L"optionui", 1), w.Pm().FindControl(L"opt1"));
    EXPECT_EQ(w.Pm().FindSubControlByClass(nullptr, L"OptionUI", 5), nullptr);
}

TEST_F(ResourceTest, ADisabledOwnerIgnoresInputWhileAModalRuns) {
    TestWindow owner(L"controls.xml", L"Owner");
    const HWND ownerWnd = owner.Make(nullptr, true);
    TestWindow dlg(L"controls.xml", L"Dlg");
    dlg.Make(ownerWnd);
    bool ownerClicked = true;
    driver.Defer([&] {
        owner.notes.clear();
        driver.Click(ownerWnd, L"btnGo");
        ownerClicked = !owner.NoteTypesOf(L"btnGo").empty();
        dlg.Close(IDNO);
    });
    EXPECT_EQ(dlg.ShowModal(), static_cast<UINT>(IDNO));
    EXPECT_FALSE(ownerClicked);
    ASSERT_TRUE(driver.Click(ownerWnd, L"btnGo"));
    EXPECT_FALSE(owner.NoteTypesOf(L"btnGo").empty());
}

TEST(ResourcesWithoutBackend, LayoutsAreBuiltWithoutABackendButPicturesNeedOne) {
    ASSERT_EQ(backend::CurrentBackend(), nullptr);
    UseTestArchive();
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> tree(builder.Create(L"images.xml"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, L"red.png").cx, 0);  // nothing decodes it
    UiLib::testing::TestBackend backend;
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, L"red.png").cx, 10);
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, L"").cx, 0);
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, L"file='sprite.png' source='20,0,40,20'").cx,
              20);
}

TEST_F(ResourceTest, PicturesFollowThePixelRatioInUnitsOfTheOneTimesPicture) {
    const RECT item{0, 0, 40, 40};
    auto images = [&](double ratio, const wchar_t* image) {
        UiLib::testing::RecordingCanvas canvas(RECT{0, 0, 100, 100}, ratio);
        EXPECT_TRUE(CRenderEngine::DrawImageString(&canvas, nullptr, item, item, image));
        std::vector<UiLib::testing::DrawCall> out;
        for (const auto& call : canvas.calls()) {
            if (call.kind == UiLib::testing::DrawCall::Kind::Image) out.push_back(call);
        }
        return out;
    };
    const wchar_t* part = L"file='sprite.png' source='20,0,40,20'";
    auto one = images(1.0, part);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].image.cx, 60);
    EXPECT_EQ(one[0].source, (RECT{20, 0, 40, 20}));
    for (double ratio : {1.5, 2.0}) {
        // The "@2x" picture, the same part in its pixels, drawn at the same place.
        auto two = images(ratio, part);
        ASSERT_EQ(two.size(), 1u);
        EXPECT_EQ(two[0].image.cx, 120);
        EXPECT_EQ(two[0].source, (RECT{40, 0, 80, 40}));
        EXPECT_EQ(two[0].rect, item);
    }
    // Nine-patch corners keep their size on the screen and take twice the pixels.
    auto nine = images(2.0, L"file='frame.png' corner='4,4,4,4'");
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine[0].rect, (RECT{0, 0, 4, 4}));
    EXPECT_EQ(nine[0].source, (RECT{0, 0, 8, 8}));
    EXPECT_EQ(nine[4].rect, (RECT{4, 4, 36, 36}));
    EXPECT_EQ(nine[4].source, (RECT{8, 8, 16, 16}));
    EXPECT_EQ(nine[8].source, (RECT{16, 16, 24, 24}));
    // Without an "@2x" picture: the picture itself, whole.
    auto plain = images(2.0, L"red.png");
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].source, (RECT{0, 0, 10, 10}));
    // Without a surface it only answers whether the picture is there.
    EXPECT_TRUE(CRenderEngine::DrawImageString(nullptr, nullptr, item, item, L"red.png"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(nullptr, nullptr, item, item, L"absent.png"));
    // Sizes stay in units of the 1x picture.
    EXPECT_EQ(CRenderEngine::GetImageSize(nullptr, part).cx, 20);
    EXPECT_EQ(detail::DoubleSizeName(L"SkinThumb/Theme01.png"), L"SkinThumb/Theme01@2x.png");
    EXPECT_EQ(detail::DoubleSizeName(L"my.skin/Logo"), L"my.skin/Logo@2x");
}

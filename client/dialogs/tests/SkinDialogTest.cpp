// The background chooser over a real main window, with the update server's "Theme/"
// on the loopback interface: a picture already downloaded applies at once, a download
// moves the bar without blocking the window and then changes both backgrounds, and a
// failed or cancelled download changes nothing and leaves no file.

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

#include "client/dialogs/SkinSetDlg.h"
#include "platform/ProfileFile.h"
#include "tools/testsupport/MainWindowFixture.h"

using namespace UiLib;
using namespace mainwndtest;

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

std::string SamplePicture(int number) {
    return testsupport::ReadFile(fs::path(TROVIK_SOURCE_DIR) /
                                 "tools/devserver/site/update/Trovik/Theme" /
                                 ("Theme0" + std::to_string(number) + ".png"));
}

// Every value "proDown" takes, in order.
struct BarValues : INotifyUI {
    void Notify(TNotifyUI& msg) override {
        if (msg.sType == DUI_MSGTYPE_VALUECHANGED && msg.pSender->GetName() == L"proDown") {
            values.push_back(static_cast<CProgressUI*>(msg.pSender)->GetValue());
        }
    }
    std::vector<int> values;
};

class SkinDialogTest : public MainWindowTest {
protected:
    void TearDown() override {
        release_ = true;  // lets a held answer end
        if (dlg_ && dlg_->GetHWND()) DestroyWindow(dlg_->GetHWND());
        dlg_.reset();
        MainWindowTest::TearDown();
    }

    // Serves `body` at "/Theme/<name>": the first half at once, the rest once release_
    // is set (or after ten seconds).
    void ServeHeld(const std::string& name, std::string body) {
        themes_.server().Get(
            "/Theme/" + name,
            [this, body = std::move(body)](const httplib::Request&, httplib::Response& res) {
                res.set_content_provider(
                    body.size(), "image/png",
                    [this, body](size_t offset, size_t, httplib::DataSink& sink) {
                        const size_t half = body.size() / 2;
                        if (offset < half) return sink.write(body.data() + offset, half - offset);
                        const auto end =
                            std::chrono::steady_clock::now() + std::chrono::seconds(10);
                        while (!release_ && std::chrono::steady_clock::now() < end) {
                            std::this_thread::sleep_for(std::chrono::milliseconds(5));
                        }
                        return sink.write(body.data() + offset, body.size() - offset);
                    });
            });
    }

    // The main window, the theme server, and the dialog over the window (not modal, so
    // the test drives it directly).
    void Open() {
        themes_.Start();
        CreateMainWindow();
        ProcessClientSettings().ThemeBaseUrl = themes_.url("/Theme/");
        dlg_ = std::make_unique<CSkinSetDlg>(*wnd_);
        dlgHwnd_ = dlg_->Create(hwnd(), L"皮肤与窗口调整", 0x96C80000, 0x100);
        ASSERT_NE(dlgHwnd_, nullptr);
        ShowWindow(dlgHwnd_, SW_SHOW);
        driver_.Manager(dlgHwnd_)->AddNotifier(&bar_);
        driver_.Pump();
        ownerBackground_ = Background(hwnd());
        dialogBackground_ = Background(dlgHwnd_);
    }

    CControlUI* Thumbnail(const std::wstring& file) {
        auto* root = driver_.Manager(dlgHwnd_)->GetRoot();
        for (CControlUI* c :
             driver_.Manager(dlgHwnd_)->FindSubControlsByClass(root, L"SkinPictureItemUI")) {
            if (std::wstring(c->GetBkImage()).find(file) != std::wstring::npos) return c;
        }
        ADD_FAILURE() << "no thumbnail for " << WideToUtf8(file);
        return nullptr;
    }
    bool ClickThumbnail(const std::wstring& file) {
        CControlUI* thumb = Thumbnail(file);
        if (!thumb) return false;
        const RECT rc = thumb->GetPos();
        return driver_.ClickAt(dlgHwnd_, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    }

    std::wstring Background(HWND h) const { return driver_.Find(h, L"background")->GetBkImage(); }
    std::string ThemeFolder() const { return ProcessClientPaths().ThemeFolder(); }
    std::string ThemePath(const std::string& name) const { return ThemeFolder() + name; }
    Strings ThemeFiles() const {
        Strings names;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(ThemeFolder(), ec))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool HoldsPartialFile() const {
        for (const std::string& name : ThemeFiles()) {
            if (name.ends_with(".trovik-tmp")) return true;
        }
        return false;
    }
    std::wstring SavedBackground() const {
        return platform::ReadProfileString(L"Theme", L"BackGround", L"<none>",
                                           ProcessClientPaths().configFile);
    }

    // Nothing of a background choice happened: both windows, the setting and its key.
    void ExpectNoChoice() {
        EXPECT_EQ(Background(hwnd()), ownerBackground_);
        EXPECT_EQ(Background(dlgHwnd_), dialogBackground_);
        EXPECT_EQ(ProcessClientSettings().BackGround, L"");
        EXPECT_EQ(SavedBackground(), L"<none>");
    }
    void ExpectChosen(const std::string& path) {
        const std::wstring wide = Utf8ToWide(path);
        EXPECT_EQ(Background(hwnd()), wide);
        EXPECT_EQ(Background(dlgHwnd_), wide);
        EXPECT_EQ(ProcessClientSettings().BackGround, wide);
        EXPECT_EQ(SavedBackground(), wide);
    }

    testsupport::LoopbackServer themes_;
    std::atomic<bool> release_{false};
    BarValues bar_;
    std::unique_ptr<CSkinSetDlg> dlg_;
    HWND dlgHwnd_ = nullptr;
    std::wstring ownerBackground_;
    std::wstring dialogBackground_;
};

TEST_F(SkinDialogTest, PictureAlreadyDownloadedAppliesAtOnceWithoutTheBar) {
    Open();
    // A thumbnail whose layout names no usable file does nothing at all.
    Thumbnail(L"Theme01.png")->SetBkImage(L"file='SkinThumb/..'");
    ASSERT_TRUE(ClickThumbnail(L"SkinThumb/.."));
    ExpectNoChoice();

    fs::create_directories(ThemeFolder());
    testsupport::WriteFile(ThemePath("Theme03.png"), SamplePicture(3));
    ASSERT_TRUE(ClickThumbnail(L"Theme03.png"));
    ExpectChosen(ThemePath("Theme03.png"));  // at once, within the click
    EXPECT_FALSE(dlg_->progressBar()->IsVisible());
    EXPECT_FALSE(dlg_->downloading());
    EXPECT_EQ(themes_.requestCount(), 0u);

    // The thumbnail under the pointer shows its frame.
    CControlUI* thumb = Thumbnail(L"Theme04.png");
    const RECT rc = thumb->GetPos();
    const POINT edge{rc.left, (rc.top + rc.bottom) / 2};
    EXPECT_NE(driver_.PixelAt(dlgHwnd_, edge), 0xFF64B0FAu);
    ASSERT_TRUE(driver_.HoverAt(dlgHwnd_, POINT{(rc.left + rc.right) / 2, rc.top + 20}));
    EXPECT_EQ(driver_.PixelAt(dlgHwnd_, edge), 0xFF64B0FAu);
}

TEST_F(SkinDialogTest, DownloadMovesTheBarThenChangesBothBackgrounds) {
    const std::string body = SamplePicture(7);
    ServeHeld("Theme07.png", body);
    Open();
    ASSERT_TRUE(ClickThumbnail(L"Theme07.png"));
    CProgressUI* bar = dlg_->progressBar();
    ASSERT_TRUE(bar->IsVisible());
    const RECT thumb = Thumbnail(L"Theme07.png")->GetPos();
    EXPECT_EQ(bar->GetPos(), (RECT{thumb.left, thumb.bottom - 7, thumb.right, thumb.bottom}));

    // Half the picture has arrived and the window still handles its messages.
    ASSERT_TRUE(driver_.PumpUntil([&] { return bar->GetValue() >= 40; }));
    EXPECT_LT(bar->GetValue(), 100);
    EXPECT_TRUE(HoldsPartialFile());
    ExpectNoChoice();

    release_ = true;
    ASSERT_TRUE(driver_.PumpUntil([&] { return !dlg_->downloading(); }));
    ExpectChosen(ThemePath("Theme07.png"));
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(ThemeFiles(), Strings{"Theme07.png"});
    EXPECT_EQ(testsupport::ReadFile(ThemePath("Theme07.png")), body);
    EXPECT_TRUE(std::is_sorted(bar_.values.begin(), bar_.values.end()));
    EXPECT_EQ(bar_.values.back(), 100);
    EXPECT_EQ(themes_.requests(), Strings{"GET /Theme/Theme07.png"});
}

TEST_F(SkinDialogTest, FailedDownloadsChangeNothing) {
    themes_.server().Get("/Theme/Theme07.png", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("no such picture", "text/plain");
    });
    themes_.server().Get("/Theme/Theme08.png", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<html>an error page that says 200</html>", "image/png");
    });
    Open();
    size_t requests = 0;
    for (const wchar_t* file : {L"Theme07.png", L"Theme08.png"}) {
        ASSERT_TRUE(ClickThumbnail(file));
        ++requests;
        ASSERT_TRUE(driver_.PumpUntil(
            [&] { return themes_.requestCount() == requests && !dlg_->downloading(); }));
        ExpectNoChoice();
        EXPECT_EQ(ThemeFiles(), Strings{});
        EXPECT_TRUE(dlg_->progressBar()->IsVisible());  // at its last value, until another click
    }
    EXPECT_EQ(themes_.requestCount(), 2u);
}

TEST_F(SkinDialogTest, AnotherThumbnailOrClosingCancelsTheDownload) {
    ServeHeld("Theme07.png", SamplePicture(7));
    Open();
    fs::create_directories(ThemeFolder());
    testsupport::WriteFile(ThemePath("Theme03.png"), SamplePicture(3));

    ASSERT_TRUE(ClickThumbnail(L"Theme07.png"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dlg_->progressBar()->GetValue() > 0; }));
    ASSERT_TRUE(ClickThumbnail(L"Theme03.png"));
    ExpectChosen(ThemePath("Theme03.png"));
    EXPECT_FALSE(dlg_->progressBar()->IsVisible());
    ASSERT_TRUE(driver_.PumpUntil([&] { return ThemeFiles() == Strings{"Theme03.png"}; }));

    bar_.values.clear();
    ASSERT_TRUE(ClickThumbnail(L"Theme07.png"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return HoldsPartialFile(); }));
    ASSERT_FALSE(bar_.values.empty());
    EXPECT_EQ(bar_.values.front(), 0);  // the bar starts again from its left end
    ASSERT_TRUE(driver_.Click(dlgHwnd_, L"closebtn"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !IsWindow(dlgHwnd_); }));
    ASSERT_TRUE(driver_.PumpUntil([&] { return ThemeFiles() == Strings{"Theme03.png"}; }));
    const std::wstring chosen = Utf8ToWide(ThemePath("Theme03.png"));
    EXPECT_EQ(Background(hwnd()), chosen);
    EXPECT_EQ(ProcessClientSettings().BackGround, chosen);
    EXPECT_EQ(SavedBackground(), chosen);
}

}  // namespace

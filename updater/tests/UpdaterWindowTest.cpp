// The updater's window in this process, headless: the question after a download, a
// postponed update installed by the next start, and the window's close conventions.

#include <gtest/gtest.h>

#include <cstdlib>

#include "tools/testsupport/WaitFor.h"
#include "uilib/testing/UiTestDriver.h"
#include "updater/Morvane.h"
#include "updater/UpdaterResources.h"
#include "updater/tests/UpdateServer.h"

namespace {

namespace fs = std::filesystem;
using namespace UiLib;
using testsupport::ReadFile;
using testsupport::WriteFile;

class UpdaterWindow : public updatertest::UpdateServerTest {
protected:
    void SetUp() override {
        UpdateServerTest::SetUp();
        RegisterUpdaterResources();
        driver_.ResetQuit();
        driver_.SetSystemTrayAvailable(true);
    }
    void TearDown() override {
        Release();
        if (wnd_) {
            // The worker ends once the server answers; then the window goes.
            EXPECT_TRUE(testsupport::WaitFor([&] { return !wnd_->WorkerRunning(); }));
            if (IsWindow(wnd_->GetHWND())) DestroyWindow(wnd_->GetHWND());
            driver_.Pump();
            wnd_.reset();
        }
        driver_.ResetQuit();
        UpdateServerTest::TearDown();
    }
    HWND Open() {
        wnd_ = std::make_unique<CMorvane>(LoadUpdaterConfig(install_.string()));
        wnd_->startInstall = [this](const UpdaterConfig&) { ++installs_; };
        const HWND hwnd = wnd_->Create(nullptr, kMorvaneTitle, 0x96C80000, 0x100);
        wnd_->CenterWindow();
        wnd_->ShowWindow(false, true);
        return hwnd;
    }
    bool Visible() const { return IsWindowVisible(wnd_->GetHWND()) != FALSE; }

    UiLib::testing::UiTestDriver driver_;
    std::unique_ptr<CMorvane> wnd_;
    int installs_ = 0;
};

TEST_F(UpdaterWindow, APostponedUpdateIsInstalledAtTheNextStartWithoutNetwork) {
    SetUserKey("Local", "ImmediateUpdate", "0");
    WriteFile(install_ / "a.txt", "old");
    Publish("101", {{"a.txt", "new"}, {"Sub/b.txt", "b"}});
    driver_.AnswerNextQuestionBoxes({IDNO});
    const HWND hwnd = Open();
    EXPECT_FALSE(Visible());  // hidden from the start
    ASSERT_TRUE(
        driver_.PumpUntil([&] { return driver_.QuitRequested(); }, std::chrono::seconds(30)));
    EXPECT_FALSE(IsWindow(hwnd));
    ASSERT_EQ(driver_.QuestionsAsked().size(), 1u);
    const UiLib::testing::AskedQuestion& question = driver_.QuestionsAsked()[0];
    EXPECT_EQ(question.text, L"【Trovik】已经升级完成\n\r是否现在更新?");
    EXPECT_EQ(question.caption, L"友情提示");
    EXPECT_EQ(question.type, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST);
    EXPECT_EQ(installs_, 0);
    EXPECT_EQ(UserKey("Version", "Ver"), "101");
    EXPECT_EQ(ReadFile(staging_ / "Sub" / "b.txt"), "b");
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "old");

    // The next start installs it before, and without, any network access.
    const size_t requests = server_.requestCount();
    server_.Stop();
    EXPECT_EQ(RunMorvane().exitCode, 0);
    ASSERT_TRUE(WaitForClientStarts(1));
    EXPECT_EQ(ReadFile(install_ / "a.txt"), "new");
    EXPECT_EQ(ReadFile(install_ / "Sub" / "b.txt"), "b");
    EXPECT_TRUE(testsupport::WaitFor([&] { return !fs::exists(staging_); }));
    EXPECT_EQ(server_.requestCount(), requests);
}

TEST_F(UpdaterWindow, AnsweredYesTheInstallStartsAndTheWindowCloses) {
    SetUserKey("Local", "ImmediateUpdate", "0");
    Publish("101", {{"a.txt", "new"}});
    driver_.AnswerNextQuestionBoxes({IDYES});
    Open();
    ASSERT_TRUE(
        driver_.PumpUntil([&] { return driver_.QuitRequested(); }, std::chrono::seconds(30)));
    EXPECT_EQ(installs_, 1);
}

TEST_F(UpdaterWindow, HidingAndQuittingFollowTheCloseConvention) {
    Publish("101", {});
    Hold();  // the check waits: the window stays
    const HWND hwnd = Open();
    ASSERT_TRUE(driver_.PumpUntil([&] { return !ChannelRequests().empty(); }));

    // The tray: one icon; a right click offers "显示" and "退出".
    ASSERT_EQ(driver_.TrayIcons().size(), 1u);
    EXPECT_EQ(driver_.TrayIcons()[0].tip, kMorvaneTitle);
    driver_.PickNextMenuItems({kMenuShow});
    ASSERT_TRUE(driver_.TrayEvent(hwnd, kTrayIconId, WM_RBUTTONDOWN));
    ASSERT_TRUE(driver_.PumpUntil([&] { return Visible(); }));
    ASSERT_EQ(driver_.MenusShown().size(), 1u);
    const auto& menu = driver_.MenusShown()[0];
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].text, L"显示");
    EXPECT_TRUE(menu[1].separator);
    EXPECT_EQ(menu[2].id, kMenuQuit);

    if (const char* folder = std::getenv("TROVIK_UPDATER_SCREENSHOT_DIR")) {
        static_cast<CLabelUI*>(driver_.Find(hwnd, L"lblDownFile"))
            ->SetText(L"正在下载:libvantrel.so");
        static_cast<CProgressUI*>(driver_.Find(hwnd, L"proFile"))->SetValue(62);
        driver_.Hover(hwnd, L"BtnHide");
        driver_.SaveWindowPng(hwnd, std::string(folder) + "/updater-window.png");
    }

    // The caption's close button and "BtnHide" only hide; the update goes on.
    ASSERT_TRUE(driver_.Click(hwnd, L"closebtn"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !Visible(); }));
    SendMessageW(hwnd, WM_COMMAND, kMenuShow, 0);
    EXPECT_TRUE(Visible());
    ASSERT_TRUE(driver_.Click(hwnd, L"BtnHide"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !Visible(); }));

    // "BtnQuit" and the tray's "退出" ask first; "no" keeps the updater running, and
    // after the tray's quit without its icon.
    ShowWindow(hwnd, SW_SHOW);
    driver_.AnswerNextQuestionBoxes({IDNO, IDNO, IDYES});
    ASSERT_TRUE(driver_.Click(hwnd, L"BtnQuit"));
    driver_.Pump();
    ASSERT_EQ(driver_.QuestionsAsked().size(), 1u);
    EXPECT_EQ(driver_.QuestionsAsked()[0].text, L"确定终止更新吗？");
    EXPECT_EQ(driver_.QuestionsAsked()[0].caption, L"询问");
    SendMessageW(hwnd, WM_COMMAND, kMenuQuit, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_TRUE(driver_.TrayIcons().empty());
    // Timers and commands of no meaning are swallowed.
    SendMessageW(hwnd, WM_TIMER, 4242, 0);
    SendMessageW(hwnd, WM_COMMAND, 4242, 0);
    EXPECT_FALSE(driver_.QuitRequested());

    ASSERT_TRUE(driver_.Click(hwnd, L"BtnQuit"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.QuitRequested(); }));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(driver_.QuestionsAsked().size(), 3u);
}

}  // namespace

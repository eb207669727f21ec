// The settings dialog and the about box over a real main window: what "btnOk" writes,
// that "btnCancel" writes nothing, the floating window following the setting, and the
// about box's version line and site button.

#include <filesystem>
#include <memory>

#include "client/core/UsageIdentity.h"
#include "client/dialogs/AboutDlg.h"
#include "client/dialogs/ClientDialogs.h"
#include "client/dialogs/MsgDlg.h"
#include "platform/AutoStart.h"
#include "platform/ProfileFile.h"
#include "tools/testsupport/MainWindowFixture.h"

using namespace UiLib;
using namespace mainwndtest;

namespace {

constexpr const wchar_t* kBoxes[] = {L"chkAutoStart", L"chkMinShowInBar", L"chkQuitOnClose",
                                     L"chkShowFloatingWindow"};

class SettingsDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // With a tray the start-up leaves "ShowFloatingWindow" as loaded (a desktop
        // without one shows the floating window whatever the setting).
        driver_.SetSystemTrayAvailable(true);
    }

    void TearDown() override {
        ClientProcess().floatingWindow.store(nullptr);
        if (floating_ && floating_->GetHWND()) DestroyWindow(floating_->GetHWND());
        floating_.reset();
        MainWindowTest::TearDown();
    }

    std::string ConfigFile() const { return ProcessClientPaths().configFile; }
    std::string BaseSet(const char* key) const {
        return platform::ReadProfileString("BaseSet", key, "<none>", ConfigFile());
    }
    std::string StartupRecord(const char* key) const {
        return platform::ReadProfileString("AppPath", key, "<none>",
                                           ProcessClientPaths().StartupRecordFile());
    }

    // A hidden window standing in for the floating tool window.
    HWND MakeFloatingWindow() {
        floating_ = std::make_unique<CMsgDlg>();
        const HWND hwnd = floating_->Create(nullptr, L"悬浮窗", WS_POPUP, 0x88);
        ClientProcess().floatingWindow.store(hwnd);
        return hwnd;
    }

    // Opens the settings from the main window's caption button; `act` runs in the dialog.
    void RunSettings(std::function<void(HWND)> act) {
        const int before = dialogsActedOn_[L"ConfigDlg"];
        auto dialog = std::make_shared<HWND>(nullptr);
        ActOnDialog(L"ConfigDlg", [dialog, act = std::move(act)](HWND dlg) {
            *dialog = dlg;
            act(dlg);
        });
        ASSERT_TRUE(driver_.Click(hwnd(), L"btnAppSet"));
        ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"ConfigDlg"] == before + 1; }));
        ASSERT_TRUE(driver_.PumpUntil([&] { return !IsWindow(*dialog); }));
    }

    std::unique_ptr<CMsgDlg> floating_;
};

TEST_F(SettingsDialogTest, ConfirmingWithoutChangesRewritesTheFlagsTheRecordAndTheAutostartEntry) {
    // A hand-edited file: any non-zero value loads as on and is written back as 1.
    const std::filesystem::path config =
        std::filesystem::path(env_.dataHome()) / "Trovik" / "Config" / "Config.cfg";
    std::filesystem::create_directories(config.parent_path());
    testsupport::WriteFile(config, "[BaseSet]\r\nAutoStart=5\r\nQuitOnClose=0\r\n");
    CreateMainWindow();
    ASSERT_TRUE(ProcessClientSettings().AutoStart);
    ASSERT_FALSE(platform::IsAutoStartOn());

    RunSettings([this](HWND dlg) { driver_.Click(dlg, L"btnOk"); });
    EXPECT_EQ(BaseSet("AutoStart"), "1");
    EXPECT_EQ(BaseSet("MinShowInBar"), "1");
    EXPECT_EQ(BaseSet("QuitOnClose"), "0");
    EXPECT_EQ(BaseSet("ShowFloatingWindow"), "0");
    EXPECT_EQ(StartupRecord("AutoStart"), "1");
    EXPECT_EQ(StartupRecord("FileName"), ProcessClientPaths().executablePath);
    EXPECT_EQ(StartupRecord("CmdLine"), "/runashide");
    EXPECT_EQ(StartupRecord("CmdShow"), "0");
    EXPECT_TRUE(platform::IsAutoStartOn());
    EXPECT_EQ(platform::AutoStartCommand(), ProcessClientPaths().executablePath);
}

TEST_F(SettingsDialogTest, TickedBoxesTakeEffectOnOk) {
    CreateMainWindow();
    const HWND floating = MakeFloatingWindow();
    ApplyAutoStart(true);
    ProcessClientSettings().QuitOnClose = true;  // not the default: the box must show it

    std::vector<bool> shown;
    RunSettings([&](HWND dlg) {
        for (const wchar_t* name : kBoxes) {
            auto* box =
                static_cast<CCheckBoxUI*>(driver_.Find(dlg, name)->GetInterface(L"CheckBox"));
            shown.push_back(box && box->GetCheck());
        }
        driver_.Click(dlg, L"chkAutoStart");
        driver_.Click(dlg, L"chkQuitOnClose");
        driver_.Click(dlg, L"chkShowFloatingWindow");
        driver_.Click(dlg, L"btnOk");
    });
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, false}));
    const ClientSettings& settings = ProcessClientSettings();
    EXPECT_FALSE(settings.AutoStart);
    EXPECT_TRUE(settings.MinShowInBar);
    EXPECT_FALSE(settings.QuitOnClose);
    EXPECT_TRUE(settings.ShowFloatingWindow);
    EXPECT_FALSE(platform::IsAutoStartOn());
    EXPECT_TRUE(IsWindowVisible(floating));
    EXPECT_EQ(BaseSet("AutoStart"), "0");
    EXPECT_EQ(BaseSet("QuitOnClose"), "0");
    EXPECT_EQ(BaseSet("ShowFloatingWindow"), "1");
    EXPECT_EQ(StartupRecord("AutoStart"), "0");

    // Unticking the floating window hides it again.
    RunSettings([&](HWND dlg) {
        driver_.Click(dlg, L"chkShowFloatingWindow");
        driver_.Click(dlg, L"btnOk");
    });
    EXPECT_FALSE(ProcessClientSettings().ShowFloatingWindow);
    EXPECT_FALSE(IsWindowVisible(floating));
    EXPECT_EQ(BaseSet("ShowFloatingWindow"), "0");
}

TEST_F(SettingsDialogTest, CancelAfterTickingBoxesChangesNothing) {
    CreateMainWindow();
    const HWND floating = MakeFloatingWindow();
    const ClientSettings before = ProcessClientSettings();
    for (const wchar_t* closer : {L"btnCancel", L"closebtn"}) {
        RunSettings([&](HWND dlg) {
            for (const wchar_t* name : kBoxes) driver_.Click(dlg, name);
            // The keyboard focus passing over "btnOk" confirms nothing.
            driver_.Manager(dlg)->SetFocus(driver_.Find(dlg, L"btnOk"));
            driver_.Click(dlg, closer);
        });
    }
    const ClientSettings& after = ProcessClientSettings();
    EXPECT_EQ(after.AutoStart, before.AutoStart);
    EXPECT_EQ(after.MinShowInBar, before.MinShowInBar);
    EXPECT_EQ(after.QuitOnClose, before.QuitOnClose);
    EXPECT_EQ(after.ShowFloatingWindow, before.ShowFloatingWindow);
    EXPECT_EQ(BaseSet("AutoStart"), "<none>");
    EXPECT_EQ(BaseSet("ShowFloatingWindow"), "<none>");
    EXPECT_FALSE(std::filesystem::exists(ProcessClientPaths().StartupRecordFile()));
    EXPECT_FALSE(platform::IsAutoStartOn());
    EXPECT_FALSE(IsWindowVisible(floating));
}

TEST_F(SettingsDialogTest, AboutBoxShowsTheVersionLineAndOpensTheSite) {
    const HWND wnd = CreateMainWindow();
    // This test program carries no file version: the line ends after the colon.
    ASSERT_EQ(GetFileVersionText(""), "");
    std::wstring line;
    bool openAfterSiteClick = false;
    ActOnDialog(L"AboutDlg", [&](HWND dlg) {
        line = driver_.Find(dlg, L"txtAppVersion")->GetText().str();
        driver_.Click(dlg, L"btnAppWebSite");
        openAfterSiteClick = IsWindow(dlg) != FALSE;
        driver_.Click(dlg, L"btnOk");
    });
    EXPECT_EQ(ShowAbout(wnd), kDialogOk);
    EXPECT_EQ(line, L"当前版本 : ");
    EXPECT_TRUE(openAfterSiteClick);
    EXPECT_EQ(OpenedUrls(), std::vector<std::string>{"http://127.0.0.1:18632/"});

    CAboutDlg about("1.0.1.102");
    const HWND box = about.Create(wnd, L"CAboutDlg", 0x81, 0x81);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver_.Find(box, L"txtAppVersion")->GetText().str(), L"当前版本 : 1.0.1.102");
    DestroyWindow(box);
    driver_.Pump();
}

}  // namespace

namespace {

// Each dialog from the keyboard alone: Tab reaches its buttons and boxes (each of them
// a control a person sees), Space and Enter press them, Escape cancels.
TEST_F(SettingsDialogTest, EveryDialogWorksFromTheKeyboard) {
    const HWND wnd = CreateMainWindow();
    const auto focused = [this](HWND dlg, const wchar_t* name) {
        CControlUI* c = driver_.Find(dlg, name);
        return c && c->IsFocused();
    };

    // The quit question: Tab goes to the caption's close button, then to "btnOk";
    // Enter there quits, Escape answers as "btnCancel" does.
    bool okFocused = false;
    ActOnDialog(L"MsgDlg", [&](HWND dlg) {
        driver_.PressKey(dlg, VK_TAB);
        driver_.PressKey(dlg, VK_TAB);
        okFocused = focused(dlg, L"btnOk");
        driver_.PressKey(dlg, VK_RETURN);
    });
    EXPECT_EQ(ShowQuitConfirm(wnd), kDialogOk);
    EXPECT_TRUE(okFocused);
    ActOnDialog(L"MsgDlg", [&](HWND dlg) { driver_.PressKey(dlg, VK_ESCAPE); });
    EXPECT_EQ(ShowQuitConfirm(wnd), kDialogCancel);

    // The settings: Space ticks the focused box, Escape drops it as "btnCancel" would.
    const bool autoStart = ProcessClientSettings().AutoStart;
    bool ticked = false;
    RunSettings([&](HWND dlg) {
        driver_.PressKey(dlg, VK_TAB);
        driver_.PressKey(dlg, VK_TAB);
        auto* box = static_cast<COptionUI*>(driver_.Find(dlg, L"chkAutoStart"));
        const bool before = box->IsSelected();
        driver_.PressKey(dlg, VK_SPACE);
        ticked = focused(dlg, L"chkAutoStart") && box->IsSelected() != before;
        driver_.PressKey(dlg, VK_ESCAPE);
    });
    EXPECT_TRUE(ticked);
    EXPECT_EQ(ProcessClientSettings().AutoStart, autoStart);

    // The about box and the skin chooser close on Escape.
    ActOnDialog(L"AboutDlg", [&](HWND dlg) { driver_.PressKey(dlg, VK_ESCAPE); });
    EXPECT_NE(ShowAbout(wnd), kDialogOk);
    int chooserSeen = dialogsActedOn_[L"SkinSetDlg"];
    ActOnDialog(L"SkinSetDlg", [&](HWND dlg) { driver_.PressKey(dlg, VK_ESCAPE); });
    OpenSkinDialog(*wnd_);
    EXPECT_EQ(dialogsActedOn_[L"SkinSetDlg"], chooserSeen + 1);
}

}  // namespace

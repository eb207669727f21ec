// Closing the main window: the caption's close hides it unless QuitOnClose is on, the
// quit button and the menu's "Menu_Close" ask first and only the answer 6 quits, and a
// close with lParam 2 quits without asking. Also the other menu commands.

#include "client/dialogs/MsgDlg.h"
#include "tools/testsupport/MainWindowFixture.h"
#include "tools/testsupport/TempDir.h"
#include "tools/testsupport/WaitFor.h"

using namespace UiLib;
using namespace mainwndtest;

namespace {

using CloseTest = MainWindowTest;

bool Gone(HWND hwnd) {
    return IsWindow(hwnd) == FALSE;
}

TEST_F(CloseTest, CaptionCloseHidesToTheTrayWhileQuitOnCloseIsOff) {
    driver_.SetSystemTrayAvailable(true);
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.TrayIcons().size() == 1; }));
    ASSERT_TRUE(driver_.Click(wnd, L"closebtn"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !Visible(); }));
    EXPECT_TRUE(IsWindow(wnd));
    EXPECT_EQ(driver_.TrayIcons().size(), 1u);  // the way back stays
    EXPECT_FALSE(driver_.QuitRequested());
    EXPECT_EQ(questionsAnswered_, 0);
}

TEST_F(CloseTest, CaptionCloseQuitsWithQuitOnClose) {
    const HWND wnd = CreateMainWindow();
    ProcessClientSettings().QuitOnClose = true;
    ASSERT_TRUE(driver_.Click(wnd, L"closebtn"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.QuitRequested(); }));
    EXPECT_EQ(driver_.QuitCode(), 0);
    EXPECT_TRUE(Gone(wnd));
    EXPECT_EQ(ClientProcess().mainWindow.load(), nullptr);
}

TEST_F(CloseTest, QuitButtonAsksAndCancelKeepsTheWindow) {
    const HWND wnd = CreateMainWindow();
    AnswerQuitQuestion(L"btnCancel");
    ASSERT_TRUE(driver_.Click(wnd, L"BtnQuit"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return questionsAnswered_ == 1; }));
    driver_.Pump();
    EXPECT_FALSE(driver_.QuitRequested());
    EXPECT_TRUE(Visible());
    EXPECT_EQ(QuitQuestion(), nullptr);  // the question is gone
}

TEST_F(CloseTest, QuitButtonAsksAndOkQuits) {
    const HWND wnd = CreateMainWindow();
    AnswerQuitQuestion(L"btnOk");
    ASSERT_TRUE(driver_.Click(wnd, L"BtnQuit"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.QuitRequested(); }));
    EXPECT_EQ(questionsAnswered_, 1);
    EXPECT_TRUE(Gone(wnd));
}

TEST_F(CloseTest, QuestionClosedByItsCaptionKeepsTheWindow) {
    const HWND wnd = CreateMainWindow();
    // The caption's close gives neither 6 nor 7: the client stays.
    std::weak_ptr<int> alive = answererLife_;
    driver_.Defer([this, alive] {
        if (alive.expired()) return;
        if (const HWND dlg = QuitQuestion()) {
            ++questionsAnswered_;
            driver_.Click(dlg, L"closebtn");
        }
    });
    const LRESULT unused = SendMessageW(wnd, WM_CLOSE, 0, 1);
    (void)unused;
    EXPECT_EQ(questionsAnswered_, 1);
    driver_.Pump();
    EXPECT_FALSE(driver_.QuitRequested());
    EXPECT_TRUE(IsWindow(wnd));
}

TEST_F(CloseTest, QuitQuestionAnswersSixAndSeven) {
    const HWND wnd = CreateMainWindow();
    driver_.Defer([this] { driver_.Click(QuitQuestion(), L"btnOk"); });
    EXPECT_EQ(ShowQuitConfirm(wnd), 6);
    driver_.Defer([this] { driver_.Click(QuitQuestion(), L"btnCancel"); });
    EXPECT_EQ(ShowQuitConfirm(wnd), 7);
}

TEST_F(CloseTest, MenuCloseAsksLikeTheQuitButton) {
    const HWND wnd = CreateMainWindow();
    AnswerQuitQuestion(L"btnCancel");
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_Close", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return questionsAnswered_ == 1; }));
    driver_.Pump();
    EXPECT_FALSE(driver_.QuitRequested());
    EXPECT_TRUE(IsWindow(wnd));

    AnswerQuitQuestion(L"btnOk");
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_Close", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.QuitRequested(); }));
    EXPECT_EQ(questionsAnswered_, 2);
    EXPECT_TRUE(Gone(wnd));
}

TEST_F(CloseTest, CloseWithTwoQuitsWithoutAQuestion) {
    const HWND wnd = CreateMainWindow();
    // Would answer a question if one came; none may.
    AnswerQuitQuestion(L"btnCancel");
    SendMessageW(wnd, WM_CLOSE, 0, 2);
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.QuitRequested(); }));
    EXPECT_TRUE(Gone(wnd));
    driver_.Pump();
    EXPECT_EQ(questionsAnswered_, 0);
}

TEST_F(CloseTest, WithoutATrayPuttingTheWindowAwayMinimisesIt) {
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.Click(wnd, L"closebtn"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return IsIconic(wnd); }));
    EXPECT_TRUE(Visible());  // on the task bar
    EXPECT_FALSE(driver_.QuitRequested());
    ShowWindow(wnd, SW_SHOW);
    ASSERT_FALSE(IsIconic(wnd));

    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_ShowHideMain", true));
    ASSERT_TRUE(driver_.PumpUntil([&] { return IsIconic(wnd); }));
    // A minimised window counts as not shown: the item brings it back.
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_ShowHideMain", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !IsIconic(wnd); }));
    EXPECT_TRUE(Visible());
    EXPECT_EQ(GetForegroundWindow(), wnd);
}

TEST_F(CloseTest, MenuShowHideMainTogglesTheWindowInTheTray) {
    driver_.SetSystemTrayAvailable(true);
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.TrayIcons().size() == 1; }));
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_ShowHideMain", true));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !Visible(); }));
    EXPECT_FALSE(IsIconic(wnd));
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_ShowHideMain", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return Visible(); }));
    EXPECT_EQ(GetForegroundWindow(), wnd);
}

TEST_F(CloseTest, MenuCommandsReachTheirOperations) {
    PlaceUpdater();
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(testsupport::WaitFor([&] { return UpdaterStarts() == 1; }));  // at start-up
    // The settings and the about box open over the main window; each is answered.
    ActOnDialog(L"ConfigDlg", [this](HWND dlg) { driver_.Click(dlg, L"btnCancel"); });
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_Settings", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"ConfigDlg"] == 1; }));
    ActOnDialog(L"AboutDlg", [this](HWND dlg) { driver_.Click(dlg, L"btnOk"); });
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_About", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"AboutDlg"] == 1; }));
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_CheckUpdate", false));
    EXPECT_TRUE(driver_.PumpUntil([&] { return UpdaterStarts() == 2; }));
    EXPECT_EQ(GetForegroundWindow(), wnd);  // both dialogs are gone

    // The floating window (shown: the desktop has no tray) goes and comes back; the
    // flag follows it in memory only.
    const HWND floating = ClientProcess().floatingWindow.load();
    ASSERT_TRUE(IsWindowVisible(floating));
    ASSERT_TRUE(ProcessClientSettings().ShowFloatingWindow);
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_ShowHideFloat", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !IsWindowVisible(floating); }));
    EXPECT_FALSE(ProcessClientSettings().ShowFloatingWindow);
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_ShowHideFloat", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return IsWindowVisible(floating) != FALSE; }));
    EXPECT_TRUE(ProcessClientSettings().ShowFloatingWindow);
    EXPECT_FALSE(std::filesystem::exists(env_.dataHome() + "/Trovik/Config/Config.cfg") &&
                 testsupport::ReadFile(env_.dataHome() + "/Trovik/Config/Config.cfg")
                         .find("ShowFloatingWindow") != std::string::npos);
}

TEST_F(CloseTest, UnknownMenuNamesAreIgnored) {
    const HWND wnd = CreateMainWindow();
    // Names are compared exactly: other spellings do nothing at all.
    for (const wchar_t* item : {L"Menu_Bogus", L"menu_close", L"Menu_ShowHideMain ", L""}) {
        ASSERT_TRUE(PostMenuItem(wnd, item, false));
    }
    // A marker behind them: the about box, the only dialog that opens.
    ActOnDialog(L"AboutDlg", [this](HWND dlg) { driver_.Click(dlg, L"btnOk"); });
    ASSERT_TRUE(PostMenuItem(wnd, L"Menu_About", false));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"AboutDlg"] == 1; }));
    driver_.Pump();
    EXPECT_TRUE(Visible());
    EXPECT_FALSE(driver_.QuitRequested());
    EXPECT_EQ(dialogsActedOn_.size(), 1u);
}

TEST_F(CloseTest, AMenuMessageWithoutANameIsHarmless) {
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(PostMessageW(wnd, kMenuItemMessage, 0, 1));
    driver_.Pump();
    EXPECT_TRUE(Visible());
}

}  // namespace

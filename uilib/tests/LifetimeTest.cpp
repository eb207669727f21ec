#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

// A popup in the way the client's menu works: its own paint manager, built in
// WM_CREATE, destroyed synchronously from a click on one of its rows, and deleting
// itself in OnFinalMessage.
class SelfDeletingPopup : public CWindowWnd, public INotifyUI {
public:
    explicit SelfDeletingPopup(bool* deleted) : deleted_(deleted) {}
    ~SelfDeletingPopup() override { *deleted_ = true; }
    LPCTSTR GetWindowClassName() const override { return L"MenuWnd"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) {
            pm_.Init(m_hWnd);
            CDialogBuilder builder;
            CControlUI* root = builder.Create(L"controls.xml", nullptr, nullptr, &pm_);
            pm_.AttachDialog(root);
            pm_.AddNotifier(this);
            ResizeClient(pm_.GetInitSize().cx, pm_.GetInitSize().cy);
            return 0;
        }
        LRESULT result = 0;
        if (pm_.MessageHandler(msg, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    void Notify(TNotifyUI& msg) override {
        if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender->GetName() == L"btnGo")
            DestroyWindow(m_hWnd);
    }

protected:
    void OnFinalMessage(HWND) override { delete this; }

private:
    CPaintManagerUI pm_;
    bool* deleted_;
};

class LifetimeTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestArchive(); }
    UiLib::testing::TestBackend backend;
    UiLib::testing::UiTestDriver driver{backend};
};

}  // namespace

TEST_F(LifetimeTest, APopupMayDestroyAndDeleteItselfFromAClickOnItsOwnControl) {
    bool deleted = false;
    auto* popup = new SelfDeletingPopup(&deleted);  // deletes itself with its window
    const HWND h = popup->Create(nullptr, L"", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ASSERT_NE(h, nullptr);
    ShowWindow(h, SW_SHOW);
    driver.Pump();
    ASSERT_TRUE(driver.Click(h, L"btnGo"));
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(h));
    driver.Pump();  // the controls that were busy go now
}

TEST_F(LifetimeTest, AWindowMayCloseItselfFromItsOwnTimer) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    w.onMessage = [&](UINT msg, WPARAM id, LPARAM) {
        if (msg == WM_TIMER && id == 2026) {
            KillTimer(h, 2026);
            SendMessageW(h, WM_CLOSE, 0, 2);  // the updater's way out
        }
    };
    SetTimer(h, 2025, 10);
    SetTimer(h, 2026, 30);
    ASSERT_TRUE(driver.PumpUntil([&] { return !IsWindow(h); }));
    EXPECT_EQ(w.destroyCount, 1);
    EXPECT_EQ(w.closeParams, (std::vector<LPARAM>{2}));
    const size_t seen = w.messages.size();
    driver.PumpUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_EQ(w.messages.size(), seen);  // no timer outlives its window
}

TEST_F(LifetimeTest, AWorkerSendingToAWindowThatGoesAwayIsReleased) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    std::atomic<int> sent{0};
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop) {
            SendMessageW(h, 2031, 1, 0);
            ++sent;
            std::this_thread::yield();
        }
    });
    ASSERT_TRUE(driver.PumpUntil([&] { return sent.load() > 10; }));
    DestroyWindow(h);
    const int atDestroy = sent.load();
    ASSERT_TRUE(
        driver.PumpUntil([&] { return sent.load() > atDestroy + 10; }));  // returns 0 at once now
    stop = true;
    worker.join();
}

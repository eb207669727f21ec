#pragma once

// A real main window built from the packed skin archive, in a private home, with the
// statistics server on the loopback interface and opened links recorded to a file.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "client/core/ClientSettings.h"
#include "client/frame/AppIcon.h"
#include "client/frame/ClientProcess.h"
#include "client/frame/TrayMenu.h"
#include "client/mainwnd/Banner.h"
#include "client/mainwnd/HotLists.h"
#include "client/mainwnd/Trovik.h"
#include "client/menu/MenuItemMessage.h"
#include "client/menu/MenuWnd.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"
#include "uilib/testing/UiTestDriver.h"

namespace mainwndtest {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        stats_.server().Get("/liveness.php",
                            [this](const httplib::Request& req, httplib::Response& res) {
                                std::lock_guard<std::mutex> lock(mutex_);
                                reportTypes_.push_back(req.get_param_value("type"));
                                res.set_content("ok", "text/plain");
                            });
        stats_.Start();
        install_ = std::filesystem::path(env_.root().path()) / "install";
        std::filesystem::create_directories(install_ / "Config");
        WriteAutoCfg("");
        // The installation's default lists.
        for (const char* list : {"DefaultHot.cfg", "DefaultLinkSite.cfg"}) {
            std::filesystem::copy_file(std::filesystem::path(TROVIK_SOURCE_DIR) / "config" / list,
                                       install_ / "Config" / list);
        }
        urlLog_ = std::filesystem::path(env_.root().path()) / "opened-urls.log";
        urlLogEnv_ =
            std::make_unique<testsupport::ScopedEnv>("TROVIK_OPEN_URL_LOG", urlLog_.string());

        UiLib::CPaintManagerUI::SetResourcePath(
            UiLib::Utf8ToWide(std::string(TROVIK_BIN_DIR) + "/Skin").c_str());
        UiLib::CPaintManagerUI::SetResourceZip(UiLib::Utf8ToWide(TROVIK_SKIN_ARCHIVE).c_str());
        RegisterAppIcon();
        driver_.SetSystemTrayAvailable(false);
        driver_.ResetQuit();
        ProcessClientSettings() = ClientSettings{};
        ClientProcess().menuChecks.clear();
        ClientProcess().animationEnabled.store(true);
    }

    void TearDown() override {
        answererLife_.reset();
        CloseAllMenus();
        driver_.Pump();
        if (wnd_ && wnd_->GetHWND()) UiLib::DestroyWindow(wnd_->GetHWND());
        wnd_.reset();
        driver_.Pump();
        driver_.ResetQuit();
    }

    // Creates and shows the main window as the start-up does.
    UiLib::HWND CreateMainWindow() {
        wnd_ = std::make_unique<CTrovik>(install_.string() + "/", (install_ / "trovik").string());
        wnd_->model().banner.bannerRestMs = 3000;
        wnd_->model().banner.bannerSlideMs = bannerSlideMs_;
        const UiLib::HWND hwnd = wnd_->Create(nullptr, kMainWindowTitle, 0x96C80000, 0x100);
        UiLib::ShowWindow(hwnd, UiLib::SW_SHOW);
        driver_.Pump();
        return hwnd;
    }

    // A stand-in updater beside the client that records each start in updater-starts.log.
    void PlaceUpdater() {
        const std::filesystem::path script = install_ / "morvane";
        std::ofstream(script) << "#!/bin/sh\necho start >> '" << UpdaterLog().string() << "'\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    std::filesystem::path UpdaterLog() const { return install_ / "updater-starts.log"; }
    size_t UpdaterStarts() const {
        std::ifstream in(UpdaterLog());
        size_t lines = 0;
        for (std::string line; std::getline(in, line);) ++lines;
        return lines;
    }

    // The installation's "AutoCfg.cfg": the statistics server and `more` sections.
    void WriteAutoCfg(const std::string& more) {
        std::ofstream(install_ / "Config" / "AutoCfg.cfg")
            << "[Stat]\r\nHost=" << stats_.hostPort() << "\r\n"
            << more;
    }

    // The open quit question, or null.
    static UiLib::HWND QuitQuestion() {
        const UiLib::HWND front = UiLib::GetForegroundWindow();
        return front && UiLib::GetClassName(front) == L"MsgDlg" ? front : nullptr;
    }

    UiLib::HWND hwnd() const { return wnd_ ? wnd_->GetHWND() : nullptr; }
    bool Visible() const { return UiLib::IsWindowVisible(hwnd()) != FALSE; }

    std::vector<std::string> ReportTypes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return reportTypes_;
    }

    std::vector<std::string> OpenedUrls() const {
        std::vector<std::string> lines;
        std::ifstream in(urlLog_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Clicks `button` of the quit question as soon as it is open, from inside its
    // modal loop; counts the questions it answered.
    void AnswerQuitQuestion(const wchar_t* button) {
        AnswerQuitQuestionUntil(button,
                                std::chrono::steady_clock::now() + std::chrono::seconds(10));
    }
    void AnswerQuitQuestionUntil(const wchar_t* button, std::chrono::steady_clock::time_point end) {
        // The answerer ends with its test: a later test's question is not its business.
        std::weak_ptr<int> alive = answererLife_;
        driver_.Defer([this, button, end, alive] {
            if (alive.expired()) return;
            // The question is an owned window: the one in front while it is open.
            const UiLib::HWND dlg = UiLib::GetForegroundWindow();
            if (!dlg || UiLib::GetClassName(dlg) != L"MsgDlg") {
                // Not open yet: look again soon, until the deadline.
                if (std::chrono::steady_clock::now() < end) AnswerQuitQuestionUntil(button, end);
                return;
            }
            ++questionsAnswered_;
            driver_.Click(dlg, button);
        });
    }

    // Runs `act` with the dialog of window class `className` as soon as it is the
    // window in front, from inside its modal loop; counts the dialogs it acted on.
    void ActOnDialog(const wchar_t* className, std::function<void(UiLib::HWND)> act) {
        ActOnDialogUntil(className, std::move(act),
                         std::chrono::steady_clock::now() + std::chrono::seconds(10));
    }
    void ActOnDialogUntil(const wchar_t* className, std::function<void(UiLib::HWND)> act,
                          std::chrono::steady_clock::time_point end) {
        std::weak_ptr<int> alive = answererLife_;
        driver_.Defer([this, className, act = std::move(act), end, alive]() mutable {
            if (alive.expired()) return;
            const UiLib::HWND dlg = UiLib::GetForegroundWindow();
            if (!dlg || UiLib::GetClassName(dlg) != className) {
                if (std::chrono::steady_clock::now() < end)
                    ActOnDialogUntil(className, std::move(act), end);
                return;
            }
            ++dialogsActedOn_[className];
            act(dlg);
        });
    }

    testsupport::IsolatedEnv env_;
    testsupport::LoopbackServer stats_;
    std::filesystem::path install_;
    std::filesystem::path urlLog_;
    std::unique_ptr<testsupport::ScopedEnv> urlLogEnv_;
    UiLib::testing::UiTestDriver driver_;
    std::unique_ptr<CTrovik> wnd_;
    std::uint32_t bannerSlideMs_ = 5;  // the start-up's pace, for CreateMainWindow
    int questionsAnswered_ = 0;
    std::map<std::wstring, int> dialogsActedOn_;
    std::shared_ptr<int> answererLife_ = std::make_shared<int>(0);

private:
    std::mutex mutex_;
    std::vector<std::string> reportTypes_;
};

}  // namespace mainwndtest

// dialog_shots: the client's own settings, about and background dialogs (the real
// classes, headless, from the packed skin), each on the skin's light background and
// on a dark downloaded one, for docs/screenshots/:
//
//   dialog-ConfigDlg[-dark].png    the settings with their saved flags
//   dialog-AboutDlg[-dark].png     the about box with the version line
//   dialog-SkinSetDlg.png          the chooser with a hovered thumbnail
//   dialog-SkinSetDlg-dark.png     ... while a picture downloads from a loopback server
//
//   dialog_shots OUT_DIR

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "client/core/ClientSettings.h"
#include "client/dialogs/AboutDlg.h"
#include "client/dialogs/ConfigDlg.h"
#include "client/dialogs/SkinSetDlg.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/LoopbackServer.h"
#include "uilib/testing/UiTestDriver.h"

using namespace UiLib;

namespace {

namespace fs = std::filesystem;

const fs::path kThemes = fs::path(TROVIK_SOURCE_DIR) / "tools/devserver/site/update/Trovik/Theme";

// The owner the background dialog changes along with itself.
class OwnerWindow : public CMsFrameWnd {
public:
    LPCTSTR GetWindowClassName() const override { return L"ShotOwner"; }
    CDuiString GetSkinFile() override { return L"MsgDlg.xml"; }
};

struct Shots {
    UiLib::testing::UiTestDriver driver;
    fs::path out;
    int failures = 0;

    void Save(HWND h, const std::string& name) {
        driver.LeaveWindow(h);
        driver.Pump();
        SaveAsIs(h, name);
    }
    void SaveAsIs(HWND h, const std::string& name) {
        const std::string path = (out / ("dialog-" + name + ".png")).string();
        if (!h || !driver.SaveWindowPng(h, path)) {
            std::fprintf(stderr, "dialog_shots: cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%s\n", path.c_str());
        }
    }
};

void Close(Shots& s, HWND h) {
    DestroyWindow(h);
    s.driver.Pump();
}

void UseBackground(const std::string& theme) {
    ProcessClientSettings().BackGround =
        theme.empty() ? L"" : Utf8ToWide((kThemes / theme).string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialog_shots OUT_DIR\n");
        return 2;
    }
    testsupport::IsolatedEnv env;
    Shots s;
    s.out = argv[1];
    CPaintManagerUI::SetResourcePath(Utf8ToWide(std::string(TROVIK_BIN_DIR) + "/Skin").c_str());
    CPaintManagerUI::SetResourceZip(
        Utf8ToWide(std::string(TROVIK_BIN_DIR) + "/Skin/SkinRes.zip").c_str());
    SetUpClientPaths(env.root() / "install");

    // A background that arrives slowly: half at once, the rest on release.
    std::atomic<bool> release{false};
    const std::string picture = testsupport::ReadFile(kThemes / "Theme07.png");
    testsupport::LoopbackServer themes;
    themes.server().Get("/Theme/Theme07.png", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(
            picture.size(), "image/png", [&](size_t offset, size_t, httplib::DataSink& sink) {
                const size_t part = picture.size() * 3 / 5;
                if (offset < part) return sink.write(picture.data() + offset, part - offset);
                while (!release) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                return sink.write(picture.data() + offset, picture.size() - offset);
            });
    });
    themes.Start();
    ProcessClientSettings().ThemeBaseUrl = themes.url("/Theme/");

    for (const std::string theme : {"", "Theme05.png"}) {
        UseBackground(theme);
        const std::string suffix = theme.empty() ? "" : "-dark";
        {
            CConfigDlg dlg;
            const HWND h = dlg.Create(nullptr, L"CConfigDlg", WS_POPUP | WS_VISIBLE, 0);
            s.Save(h, "ConfigDlg" + suffix);
            Close(s, h);
        }
        {
            CAboutDlg dlg(TROVIK_VERSION_TEXT);
            const HWND h = dlg.Create(nullptr, L"CAboutDlg", WS_POPUP | WS_VISIBLE, 0);
            s.Save(h, "AboutDlg" + suffix);
            Close(s, h);
        }
    }

    OwnerWindow owner;
    const HWND ownerHwnd = owner.Create(nullptr, L"Trovik", WS_POPUP, 0);
    UseBackground("");
    {
        CSkinSetDlg dlg(owner);
        const HWND h = dlg.Create(ownerHwnd, L"皮肤与窗口调整", WS_POPUP | WS_VISIBLE, 0);
        s.driver.LeaveWindow(h);
        s.driver.HoverAt(h, s.driver.CenterOf(h, L"SkinPictureItem"));
        s.driver.Pump();
        s.SaveAsIs(h, "SkinSetDlg");
        Close(s, h);
    }
    UseBackground("Theme07.png");
    {
        CSkinSetDlg dlg(owner);
        const HWND h = dlg.Create(ownerHwnd, L"皮肤与窗口调整", WS_POPUP | WS_VISIBLE, 0);
        s.driver.Pump();
        // The seventh thumbnail: second row, third place.
        CControlUI* root = s.driver.Manager(h)->GetRoot();
        auto thumbs = s.driver.Manager(h)->FindSubControlsByClass(root, L"SkinPictureItemUI");
        if (thumbs.size() >= 7) {
            const RECT rc = thumbs[6]->GetPos();
            s.driver.ClickAt(h, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
            s.driver.LeaveWindow(h);
            s.driver.PumpUntil([&] { return dlg.progressBar()->GetValue() >= 50; });
        }
        s.SaveAsIs(h, "SkinSetDlg-dark");
        release = true;
        Close(s, h);
    }
    Close(s, ownerHwnd);
    return s.failures == 0 ? 0 : 1;
}

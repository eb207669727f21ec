// morvane: the updater. Started by the client with no arguments it checks for an
// update (one instance per user, hidden window, tray icon); started with "copyfile"
// it is the install step and needs no display. Returns 0 in every case.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Folders.h"
#include "platform/NamedMutex.h"
#include "platform/WindowRegistry.h"
#include "uilib/UiLib.h"
#include "updater/InstallStep.h"
#include "updater/Morvane.h"
#include "updater/UpdaterConfig.h"
#include "updater/UpdaterResources.h"

using namespace UiLib;

namespace {

bool IsInstallArgument(const std::string& arg) {
    static const char kWord[] = "copyfile";
    if (arg.size() != sizeof kWord - 1) return false;
    for (size_t i = 0; i < arg.size(); ++i) {
        char c = arg[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kWord[i]) return false;
    }
    return true;
}

// Without any display the window and its question box still work, off screen.
void UseOffscreenWithoutDisplay() {
    const auto unset = [](const char* name) {
        const char* value = std::getenv(name);
        return !value || !*value;
    };
    if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        // The elevated install step runs as root: it creates nothing in the user's folders.
        const UpdaterConfig config =
            LoadUpdaterConfig(platform::ExecutableFolder(), !IsElevatedInstallStep());
        for (int i = 0; i < argc; ++i) {
            if (IsInstallArgument(argv[i])) {
                InstallStagedFiles(config);
                return 0;
            }
        }

        platform::NamedMutex mutex(kMorvaneMutex);
        if (mutex.alreadyExists()) {
            platform::ShowRegisteredWindow(kMorvaneClass, kMorvaneTitle);
            return 0;
        }

        UseOffscreenWithoutDisplay();
        CApplication app(argc, argv);
        // A second start finds this window through the window registry.
        AnnounceWindowsWith<platform::WindowRegistration>();
        CPaintManagerUI::SetInstance(app.Instance());
        RegisterUpdaterResources();
        CMorvane wnd(config);
        // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION |
        // WS_SYSMENU, WS_EX_WINDOWEDGE.
        wnd.Create(nullptr, kMorvaneTitle, 0x96C80000, 0x100);
        wnd.CenterWindow();
        wnd.instance = app.Instance();
        wnd.ShowWindow(false, true);
        CPaintManagerUI::MessageLoop();
        // A download thread may still run (the user quit during a download): end here
        // without tearing down what it might still touch.
        std::fflush(nullptr);
        _exit(0);
    } catch (...) {
    }
    return 0;
}

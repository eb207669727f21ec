// client_shots: renders the main window after real searches of the sample portal
// (loopback devserver, real engine, real skin, headless) into PNG files:
//   <out>/client-results.png    the first result page of "城南旧事录"
//   <out>/client-no-result.png  the view for a name the portal does not know
//
//   client_shots OUT_DIR

#include <cstdio>
#include <string>

#include "tools/testsupport/ChildPrograms.h"
#include "tools/testsupport/SearchTestWindow.h"
#include "tools/testsupport/WaitFor.h"

namespace {

bool SearchAndSave(searchtest::SearchTestWindow& w, const std::wstring& text,
                   const std::string& file) {
    w.Search(text);
    if (!w.driver().PumpUntil(
            [&] { return !w.Visible(L"vlSearching") && !w.wnd().model().search->SearchBusy(); },
            std::chrono::seconds(30))) {
        return false;
    }
    // Let the page slide in completely and the pointer rest outside the window.
    w.driver().LeaveWindow(w.hwnd());
    auto* tabs = w.wnd().controls().resultTabs;
    w.driver().PumpUntil([&] {
        auto* anim = tabs ? static_cast<UiLib::CAnimationTabLayoutUI*>(
                                tabs->GetInterface(L"AnimationTabLayout"))
                          : nullptr;
        return !anim || !anim->IsAnimating();
    });
    w.driver().Pump();
    return w.driver().SaveWindowPng(w.hwnd(), file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: client_shots OUT_DIR\n");
        return 2;
    }
    const std::string out = argv[1];
    testsupport::DevServerProcess portal;
    testsupport::ScopedEnv host("VANTREL_SEARCH_HOST", portal.hostPort());
    searchtest::SearchTestWindow w(portal.hostPort(), searchtest::EngineLibrary());
    bool ok = SearchAndSave(w, L"城南旧事录", out + "/client-results.png");
    ok = SearchAndSave(w, L"无此片名", out + "/client-no-result.png") && ok;
    std::fprintf(stderr, ok ? "client_shots: written to %s\n" : "client_shots: failed (%s)\n",
                 out.c_str());
    return ok ? 0 : 1;
}

// UiTestDriver on the offscreen Qt backend: the application object, a test backend
// over the Qt backend for the person's answers, and input as Qt events.

#include <cstdlib>

#include "uilib/backend/qt/testing/QtSimulator.h"
#include "uilib/testing/UiTestDriver.h"

namespace UiLib::testing {

namespace {

int g_argc = 1;
char g_name[] = "uilib-test";
char* g_argv[] = {g_name, nullptr};

backend::Backend& QtBackendOfTheProcess() {
    if (!CApplication::Exists()) {
        if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // Kept for the whole test process and deliberately never destroyed: at exit the
        // toolkit's own process-wide objects may already be gone.
        static const CApplication* const app = new CApplication(g_argc, g_argv);
        (void)app;
    }
    return *backend::CurrentBackend();
}

}  // namespace

UiTestDriver::UiTestDriver()
    : ownBackend_(std::make_unique<TestBackend>(QtBackendOfTheProcess())),
      backend_(ownBackend_.get()),
      ownInput_(std::make_unique<qt::QtSimulator>()),
      input_(ownInput_.get()) {}

}  // namespace UiLib::testing

#include <QApplication>

#include "uilib/core/Application.h"
#include "uilib/core/PaintManager.h"
#include "uilib/src/Dispatch.h"

namespace UiLib {

namespace {
CApplication* g_application = nullptr;
}

struct CApplication::Impl {
    std::unique_ptr<QApplication> app;
};

CApplication::CApplication(int& argc, char** argv) : m_impl(std::make_unique<Impl>()) {
    if (QApplication::instance()) {
        // Another part of the process made the Qt application already.
    } else {
        m_impl->app = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    detail::StartDispatch();
    g_application = this;
    CPaintManagerUI::SetInstance(Instance());
}

CApplication::~CApplication() {
    detail::StopDispatch();
    if (g_application == this) g_application = nullptr;
}

HINSTANCE CApplication::Instance() const {
    // Any non-null value serves: the instance only identifies the process's resources.
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000));
}

bool CApplication::Exists() {
    return g_application != nullptr;
}

}  // namespace UiLib

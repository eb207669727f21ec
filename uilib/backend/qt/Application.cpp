// CApplication: the Qt application object and the Qt backend, installed for the
// program.

#include <QApplication>

#include "uilib/backend/qt/QtBackend.h"
#include "uilib/core/Application.h"
#include "uilib/core/PaintManager.h"

namespace UiLib {

namespace {
CApplication* g_application = nullptr;
}

struct CApplication::Impl {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<qt::QtBackend> backend;
    backend::Backend* previous = nullptr;
};

CApplication::CApplication(int& argc, char** argv) : m_impl(std::make_unique<Impl>()) {
    if (!QApplication::instance()) {
        // Unless another part of the process made the Qt application already.
        m_impl->app = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    m_impl->backend = std::make_unique<qt::QtBackend>();
    m_impl->previous = backend::InstallBackend(m_impl->backend.get());
    g_application = this;
    CPaintManagerUI::SetInstance(Instance());
}

CApplication::~CApplication() {
    if (backend::CurrentBackend() == m_impl->backend.get()) {
        backend::InstallBackend(m_impl->previous);
    }
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

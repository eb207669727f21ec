#pragma once

// CApplication: the process's user-interface runtime. Create one in main() before any
// window, keep it for the life of the program:
//
//     int main(int argc, char** argv) {
//         UiLib::CApplication app(argc, argv);
//         ...create windows...
//         return UiLib::CPaintManagerUI::MessageLoop();
//     }

#include <memory>

#include "uilib/core/Win32Types.h"

namespace UiLib {

class CApplication {
public:
    // argc and argv must outlive the object (as those of main do).
    CApplication(int& argc, char** argv);
    ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The instance handle of the process (also set as CPaintManagerUI::GetInstance()).
    HINSTANCE Instance() const;
    // Whether a CApplication exists.
    static bool Exists();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace UiLib

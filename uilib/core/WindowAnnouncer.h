#pragma once

// How the program's top-level windows become known to other processes (a window
// registry such as platform::WindowRegistration): the program hands the framework an
// announcer once, before it creates windows. The framework then announces every
// top-level window (no owner) that has a class name under that name and its title,
// tells the announcement each new title, and ends it with the window. When another
// process asks for the window, the window is shown and brought to the front.

#include <functional>
#include <memory>
#include <string>

namespace UiLib {

// One window as other processes see it, for as long as the object lives.
class IWindowAnnouncement {
public:
    virtual ~IWindowAnnouncement() = default;
    virtual void SetTitle(const std::wstring& title) = 0;
};

// Makes the announcement of a window. `showRequested` may be called from any thread.
// May throw or return null: the window then stays unknown to other processes.
using WindowAnnouncer = std::function<std::unique_ptr<IWindowAnnouncement>(
    const std::wstring& className, const std::wstring& title, std::function<void()> showRequested)>;

// Installs the announcer (null: windows are not announced, the default).
void SetWindowAnnouncer(WindowAnnouncer announcer);

// Announces windows with a registration class of the shape
//     Registration(const std::wstring& className, const std::wstring& title,
//                  std::function<void()> onShow);
//     void SetTitle(const std::wstring& title);
// e.g. AnnounceWindowsWith<platform::WindowRegistration>().
template <typename Registration>
void AnnounceWindowsWith() {
    struct Announcement : IWindowAnnouncement {
        Announcement(const std::wstring& className, const std::wstring& title,
                     std::function<void()> onShow)
            : registration(className, title, std::move(onShow)) {}
        void SetTitle(const std::wstring& title) override { registration.SetTitle(title); }
        Registration registration;
    };
    SetWindowAnnouncer([](const std::wstring& className, const std::wstring& title,
                          std::function<void()> showRequested) {
        return std::unique_ptr<IWindowAnnouncement>(
            std::make_unique<Announcement>(className, title, std::move(showRequested)));
    });
}

}  // namespace UiLib

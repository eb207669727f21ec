#pragma once

// The open popups of the skinned menu and the commands that close them. Every popup
// (CMenuWnd) is a receiver registered with the one process-wide observer while its
// window exists; a command broadcast to the observer reaches the popups from the one
// opened last to the first.

#include <map>
#include <string>
#include <vector>

#include "uilib/UiLib.h"

// Closing commands.
enum class MenuCommandType {
    CloseAll = 1,       // every open popup closes
    CloseSubMenus = 2,  // every popup with `window` among its ancestors closes
};

struct MenuCommand {
    MenuCommandType type = MenuCommandType::CloseAll;
    UiLib::HWND window = nullptr;
};

class ReceiverImplBase;

class ObserverImplBase {
public:
    virtual void AddReceiver(ReceiverImplBase* receiver) = 0;
    virtual void RemoveReceiver(ReceiverImplBase* receiver) = 0;
    virtual void Broadcast(const MenuCommand& command) = 0;

protected:
    ~ObserverImplBase() = default;
};

class ReceiverImplBase {
public:
    virtual void AddObserver(ObserverImplBase* observer) = 0;
    virtual void RemoveObserver() = 0;
    virtual void Receive(const MenuCommand& command) = 0;

protected:
    ~ReceiverImplBase() = default;
};

class ObserverImpl : public ObserverImplBase {
public:
    // Appends the receiver and registers this observer with it.
    void AddReceiver(ReceiverImplBase* receiver) override;
    void RemoveReceiver(ReceiverImplBase* receiver) override;
    // From the receiver added last to the first; receivers that leave meanwhile are
    // skipped.
    void Broadcast(const MenuCommand& command) override;
    // In the order they were added (the order the popups opened).
    const std::vector<ReceiverImplBase*>& Receivers() const { return receivers_; }

private:
    std::vector<ReceiverImplBase*> receivers_;
};

class ReceiverImpl : public ReceiverImplBase {
public:
    void AddObserver(ObserverImplBase* observer) override;
    // Leaves every observer it was added to.
    void RemoveObserver() override;

protected:
    ~ReceiverImpl();

private:
    std::vector<ObserverImplBase*> observers_;
};

// The process-wide observer of the open popups.
ObserverImpl& MenuObserver();

// Item name → checked. Owned by the code that opens a menu; a name without an entry
// reads as unchecked.
using MenuCheckMap = std::map<std::wstring, bool>;

// What the open menu works with, set by each top-level menu when it opens: the window
// that receives item clicks (message 1145) and the check map (null: none).
struct MenuTargets {
    UiLib::HWND clickWindow = nullptr;
    MenuCheckMap* checks = nullptr;
};
MenuTargets& CurrentMenuTargets();

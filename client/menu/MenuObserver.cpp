#include "client/menu/MenuObserver.h"

#include <algorithm>

void ObserverImpl::AddReceiver(ReceiverImplBase* receiver) {
    if (!receiver || std::find(receivers_.begin(), receivers_.end(), receiver) != receivers_.end())
        return;
    receivers_.push_back(receiver);
    receiver->AddObserver(this);
}

void ObserverImpl::RemoveReceiver(ReceiverImplBase* receiver) {
    std::erase(receivers_, receiver);
}

void ObserverImpl::Broadcast(const MenuCommand& command) {
    const std::vector<ReceiverImplBase*> snapshot = receivers_;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (std::find(receivers_.begin(), receivers_.end(), *it) == receivers_.end()) continue;
        (*it)->Receive(command);
    }
}

void ReceiverImpl::AddObserver(ObserverImplBase* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void ReceiverImpl::RemoveObserver() {
    const std::vector<ObserverImplBase*> observers = std::move(observers_);
    observers_.clear();
    for (ObserverImplBase* observer : observers) observer->RemoveReceiver(this);
}

ReceiverImpl::~ReceiverImpl() {
    RemoveObserver();
}

ObserverImpl& MenuObserver() {
    static ObserverImpl observer;
    return observer;
}

MenuTargets& CurrentMenuTargets() {
    static MenuTargets targets;
    return targets;
}

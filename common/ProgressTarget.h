#pragma once

// Where download progress goes: a small interface so that the download helpers stay
// free of UI code. A window's progress bar implements it through an adapter.
// SetProgress may be called from the downloading thread.
class IProgressTarget {
public:
    virtual void SetProgress(int percent) = 0;

protected:
    ~IProgressTarget() = default;
};

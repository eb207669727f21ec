#pragma once

#include <cstdint>
#include <functional>

#include "common/ProgressTarget.h"

// Progress and time limit of one URL download (UrlDownloadToFile): turns progress
// notifications into a percentage for a progress target and cancels a download that
// has been running for more than ten minutes. A plain object that lives on the
// caller's stack for one or more downloads; the caller sets startTick just before
// each download.
class CBindCallback {
public:
    using HRESULT = std::int32_t;
    static constexpr HRESULT S_OK = 0;
    static constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);

    // Longest running time of one download, in milliseconds.
    static constexpr std::uint32_t kTimeLimitMs = 600'000;

    // Where the current time comes from (milliseconds, 32-bit, wrapping).
    using TickSource = std::function<std::uint32_t()>;

    // Uses TickCount() as its clock.
    CBindCallback();
    explicit CBindCallback(TickSource tickSource);
    virtual ~CBindCallback() = default;

    // Called for every progress notification of the download: `ulProgress` bytes of
    // `ulProgressMax` (0 when the size is unknown). Returns E_ABORT once more than
    // kTimeLimitMs have passed since startTick, otherwise sets the target to the
    // percentage (0 when the size is unknown) and returns S_OK.
    virtual HRESULT OnProgress(std::uint64_t ulProgress, std::uint64_t ulProgressMax);

    // The current time of this callback's clock; the value to store in startTick.
    std::uint32_t Now() const { return tickSource_(); }

    // Tick of the clock taken just before the current download started.
    std::uint32_t startTick = 0;
    // Receives the percentage; may be null. Set once by the caller.
    IProgressTarget* progress = nullptr;

private:
    TickSource tickSource_;
};

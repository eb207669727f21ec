#include "common/BindCallback.h"

#include <utility>

#include "common/TickCount.h"

CBindCallback::CBindCallback() : tickSource_(TickCount) {}

CBindCallback::CBindCallback(TickSource tickSource)
    : tickSource_(tickSource ? std::move(tickSource) : TickSource(TickCount)) {}

CBindCallback::HRESULT CBindCallback::OnProgress(std::uint64_t ulProgress,
                                                 std::uint64_t ulProgressMax) {
    // Unsigned 32-bit difference: a wrap of the tick counter during the download is harmless.
    const std::uint32_t elapsed = tickSource_() - startTick;
    if (elapsed > kTimeLimitMs) return E_ABORT;

    int percent = 0;
    if (ulProgressMax != 0) {
        // Wide arithmetic so that no file size can overflow the product; a server that
        // sends more than it announced is shown as complete.
        const unsigned __int128 scaled = static_cast<unsigned __int128>(ulProgress) * 100;
        percent = ulProgress >= ulProgressMax ? 100 : static_cast<int>(scaled / ulProgressMax);
    }
    if (progress) progress->SetProgress(percent);
    return S_OK;
}

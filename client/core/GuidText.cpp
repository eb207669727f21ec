#include "client/core/GuidText.h"

#include <mutex>

#include "platform/Identity.h"

std::string MakeGuidText() {
    static std::mutex mutex;
    static std::string lastText;
    std::lock_guard<std::mutex> lock(mutex);
    if (const auto guid = platform::NewGuid()) lastText = platform::FormatGuid(*guid);
    return lastText;
}

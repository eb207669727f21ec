#include "client/core/StartupFlags.h"

#include <algorithm>
#include <string_view>

namespace {

// Only ASCII letters fold: the switches are ASCII, and a non-ASCII byte of a UTF-8
// argument must never match one of their letters.
bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

}  // namespace

StartupFlags ParseStartupSwitches(const std::vector<std::string>& args) {
    StartupFlags flags;
    for (const std::string& arg : args) {
        if (EqualsAsciiNoCase(arg, "/runashide")) flags.startHidden = true;
        if (EqualsAsciiNoCase(arg, "/noupdate") || EqualsAsciiNoCase(arg, "/runassvr")) {
            flags.noUpdater = true;
        }
    }
    return flags;
}

StartupFlags& ProcessStartupFlags() {
    static StartupFlags flags;
    return flags;
}

#include "client/frame/AppIcon.h"

#include <cstddef>

// The skin's 64 × 64 mark (skin/client/LogoBig.png), linked in by CMake, so the tray
// icon never depends on the skin archive being found.
extern "C" const unsigned char trovik_app_icon_png[];
extern "C" const unsigned long long trovik_app_icon_png_size;

void RegisterAppIcon() {
    UiLib::RegisterIconResource(kAppIconId, trovik_app_icon_png,
                                static_cast<std::size_t>(trovik_app_icon_png_size));
}

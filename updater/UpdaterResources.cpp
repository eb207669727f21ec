#include "updater/UpdaterResources.h"

#include <cstddef>

#include "uilib/UiLib.h"
#include "updater/Morvane.h"

// Linked in by CMake: the packed skin/updater/ folder and the application's mark.
extern "C" const unsigned char morvane_skin_zip[];
extern "C" const unsigned long long morvane_skin_zip_size;
extern "C" const unsigned char morvane_icon_png[];
extern "C" const unsigned long long morvane_icon_png_size;

void RegisterUpdaterResources() {
    UiLib::RegisterResource(L"ZIPRES", kSkinResourceId, morvane_skin_zip,
                            static_cast<std::size_t>(morvane_skin_zip_size));
    UiLib::RegisterIconResource(kTrayIconId, morvane_icon_png,
                                static_cast<std::size_t>(morvane_icon_png_size));
}

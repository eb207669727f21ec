// uilib-view: renders one layout of a skin archive to a PNG, without a display.
//
//     uilib-view --zip ARCHIVE --layout FILE --out PNG [--size WxH] [--scale R]
//
// --scale 2 (or 1.5) draws the picture as a screen of that scale shows the window: R
// times the size, with the skin's "@2x" pictures and text at that resolution.
// Element names that are not registered control classes (the programs' own controls)
// are drawn by the nearest built-in class, so a layout can be reviewed without its program.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "uilib/UiLib.h"
#include "uilib/src/window/WindowImpl.h"

namespace {

using namespace UiLib;

class ViewWindow : public WindowImplBase {
public:
    explicit ViewWindow(std::wstring layout) : layout_(std::move(layout)) {}
    LPCTSTR GetWindowClassName() const override { return L"UiLibView"; }
    CDuiString GetSkinFile() override { return layout_; }
    CControlUI* CreateControl(LPCTSTR cls) override {
        const std::wstring name = cls;
        if (IsControlClassRegistered(cls)) return nullptr;  // the framework builds it
        CControlUI* standIn = nullptr;
        const char* what = nullptr;
        if (name.find(L"Element") != std::wstring::npos) {
            standIn = new CListContainerElementUI;
            what = "ListContainerElement";
        } else if (name.find(L"Menu") != std::wstring::npos ||
                   name.find(L"List") != std::wstring::npos) {
            standIn = new CListUI;
            what = "List";
        } else if (name.find(L"Item") != std::wstring::npos ||
                   name.find(L"Button") != std::wstring::npos) {
            standIn = new CButtonUI;
            what = "Button";
        } else {
            standIn = new CVerticalLayoutUI;
            what = "VerticalLayout";
        }
        std::fprintf(stderr, "uilib-view: <%s> drawn as %s\n", WideToUtf8(name).c_str(), what);
        return standIn;
    }

private:
    std::wstring layout_;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: uilib-view --zip ARCHIVE --layout FILE --out PNG [--size WxH] "
                 "[--scale R]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string zip, layout, out;
    int width = 0, height = 0;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--zip" && hasValue) {
            zip = argv[++i];
        } else if (arg == "--layout" && hasValue) {
            layout = argv[++i];
        } else if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else if (arg == "--size" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0)
                return Usage();
        } else if (arg == "--scale" && hasValue) {
            char* end = nullptr;
            scale = std::strtod(argv[++i], &end);
            if (!end || *end || !(scale >= 0.5 && scale <= 4)) return Usage();
        } else {
            return Usage();
        }
    }
    if (zip.empty() || layout.empty() || out.empty()) return Usage();

    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    CApplication app(argc, argv);
    CPaintManagerUI::SetResourcePath(L"/nonexistent/");
    CPaintManagerUI::SetResourceZip(Utf8ToWide(std::filesystem::absolute(zip).string()).c_str());
    std::string probe;
    if (!CPaintManagerUI::LoadResourceFile(Utf8ToWide(layout).c_str(), &probe)) {
        std::fprintf(stderr, "uilib-view: %s not found in %s\n", layout.c_str(), zip.c_str());
        return 1;
    }
    ViewWindow window(Utf8ToWide(layout));
    if (!window.Create(nullptr, L"uilib-view", WS_POPUP, 0)) return 1;
    if (!window.GetPaintManager().GetRoot()) {
        std::fprintf(stderr, "uilib-view: %s could not be built\n", layout.c_str());
        return 1;
    }
    SIZE size = window.GetPaintManager().GetInitSize();
    if (width > 0) size = SIZE{width, height};
    if (size.cx <= 0 || size.cy <= 0) size = SIZE{400, 300};
    window.GetPaintManager().SetMinInfo(0, 0);
    window.GetPaintManager().SetMaxInfo(0, 0);
    window.ResizeClient(size.cx, size.cy);
    const backend::Bitmap picture = detail::SnapshotWindow(window.GetHWND(), scale);
    const std::string png = backend::CurrentBackend()->EncodePng(picture);
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(png.data(), static_cast<std::streamsize>(png.size()));
    if (png.empty() || !file) {
        std::fprintf(stderr, "uilib-view: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %dx%d\n", out.c_str(), picture.width, picture.height);
    return 0;
}

// Building and first painting a window of about 80 controls from a skin archive.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "uilib/UiLib.h"
#include "uilib/backend/qt/QtCanvas.h"

namespace {

using namespace UiLib;

class BenchWindow : public WindowImplBase {
public:
    LPCTSTR GetWindowClassName() const override { return L"UiLibBench"; }
    CDuiString GetSkinFile() override { return L"UilibBench.xml"; }
    CPaintManagerUI& Pm() { return m_PaintManager; }
};

CApplication& App() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "uilib-bench";
    static char* argv[] = {name, nullptr};
    static CApplication* app = new CApplication(argc, argv);  // lives for the process
    return *app;
}

void OpenArchive() {
    CPaintManagerUI::SetResourcePath(L"/nonexistent/");
    CPaintManagerUI::SetResourceZip(Utf8ToWide(UILIB_BENCH_ZIP).c_str());
}

// Creates the window (layout from the archive) and paints it once into an image.
void BuildAndPaint(benchmark::State& state, bool coldCaches) {
    App();
    OpenArchive();
    QImage image(600, 520, QImage::Format_ARGB32_Premultiplied);
    int controls = 0;
    for (auto _ : state) {
        if (coldCaches) {
            state.PauseTiming();
            OpenArchive();  // a fresh archive: layouts and images are read and decoded again
            state.ResumeTiming();
        }
        BenchWindow window;
        window.Create(nullptr, L"bench", WS_POPUP, 0);
        QPainter painter(&image);
        qt::QtCanvas dc(&painter);
        window.Pm().RenderTo(&dc, RECT{0, 0, 600, 520});
        painter.end();
        benchmark::DoNotOptimize(image.bits());
        if (controls == 0 && window.Pm().GetRoot()) {
            window.Pm().GetRoot()->FindControl(
                [](CControlUI*, LPVOID n) -> CControlUI* {
                    ++*static_cast<int*>(n);
                    return nullptr;
                },
                &controls, UIFIND_ALL);
        }
        state.PauseTiming();
        DestroyWindow(window.GetHWND());
        state.ResumeTiming();
    }
    state.counters["controls"] = controls;
}

void BM_BuildAndFirstPaint_WarmCaches(benchmark::State& state) {
    BuildAndPaint(state, false);
}
void BM_BuildAndFirstPaint_ColdArchive(benchmark::State& state) {
    BuildAndPaint(state, true);
}

BENCHMARK(BM_BuildAndFirstPaint_WarmCaches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAndFirstPaint_ColdArchive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

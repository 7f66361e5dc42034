// Cost of building a window from its Qt Designer file, and of finding a widget in it.
#include "CoreFoundation/CFString.h"
#include "HIToolbox/HIToolbox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr char kNibPath[] = VELTRA_TEST_DATA_DIR "/TestWidgets.nib";

// The settings window: about 25 widgets in nested layouts, like the accounting windows.
void BM_CreateWindowFromNib(benchmark::State &state)
{
    IBNibRef nib = nullptr;
    if (VeltraCreateNibReferenceWithPath(kNibPath, &nib) != noErr) {
        state.SkipWithError("test nib missing");
        return;
    }
    for (auto _ : state) {
        WindowRef window = nullptr;
        if (CreateWindowFromNib(nib, CFSTR("Settings"), &window) != noErr) {
            state.SkipWithError("cannot load the Settings window");
            break;
        }
        DisposeWindow(window);
    }
    DisposeNibReference(nib);
}
BENCHMARK(BM_CreateWindowFromNib)->Unit(benchmark::kMicrosecond);

// Looking up every identified control of the settings window, as a panel does when it binds
// its controls, with a few other windows open.
void BM_GetControlByID(benchmark::State &state)
{
    IBNibRef nib = nullptr;
    if (VeltraCreateNibReferenceWithPath(kNibPath, &nib) != noErr) {
        state.SkipWithError("test nib missing");
        return;
    }
    std::vector<WindowRef> windows(4, nullptr);
    for (WindowRef &window : windows)
        CreateWindowFromNib(nib, CFSTR("Settings"), &window);
    const ControlID ids[] = {{'jals', 1}, {'jaui', 1}, {'japw', 1}, {'jadp', 1},
                             {'jadc', 1}, {'japp', 1}, {'jacl', 1}, {'jarb', 1},
                             {'jarb', 2}, {'jarb', 3}, {'jacb', 1}, {'jacb', 2},
                             {'jacb', 3}, {'javr', 1}, {'jabt', 1}, {'jabt', 2}};
    for (auto _ : state) {
        for (const ControlID &id : ids) {
            ControlRef control = nullptr;
            benchmark::DoNotOptimize(GetControlByID(windows.back(), &id, &control));
            benchmark::DoNotOptimize(control);
        }
    }
    state.SetItemsProcessed(state.iterations() * std::size(ids));
    for (WindowRef window : windows)
        DisposeWindow(window);
    DisposeNibReference(nib);
}
BENCHMARK(BM_GetControlByID);

// An unknown identity: the lookup also searches the window's widgets.
void BM_GetControlByIDMissing(benchmark::State &state)
{
    IBNibRef nib = nullptr;
    WindowRef window = nullptr;
    if (VeltraCreateNibReferenceWithPath(kNibPath, &nib) != noErr ||
        CreateWindowFromNib(nib, CFSTR("Settings"), &window) != noErr) {
        state.SkipWithError("cannot load the Settings window");
        return;
    }
    const ControlID id{'none', 1};
    for (auto _ : state) {
        ControlRef control = nullptr;
        benchmark::DoNotOptimize(GetControlByID(window, &id, &control));
    }
    DisposeWindow(window);
    DisposeNibReference(nib);
}
BENCHMARK(BM_GetControlByIDMissing);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

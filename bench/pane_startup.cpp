// Time from Prologue to the end of Initialize (with its first Sync) for each pane on the
// sample printer, and the time of a Sync that writes the ticket.
#include "PaneBench.h"

#include <PrintCore/PrintHost.h>

extern "C" void *OrvPDEPluginFactoryJBA(CFAllocatorRef, CFUUIDRef);
extern "C" void *OrvPDEPluginFactoryPrintType(CFAllocatorRef, CFUUIDRef);

namespace {

void PaneStartup(benchmark::State &state, PaneFactory factory)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    void *instance = nullptr;
    const PlugInIntfVTable *calls = PaneInterface(factory, &instance);
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<BenchDialog>();
        state.ResumeTiming();
        PMPDEContext context = nullptr;
        calls->Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr);
        if (calls->Initialize(context, nullptr, nullptr, dialog->userPane, session.ref()) != noErr)
            state.SkipWithError("Initialize failed");
        state.PauseTiming();
        calls->Terminate(context, noErr);
        dialog.reset();
        state.ResumeTiming();
    }
}

void SyncTowardsTicket(benchmark::State &state, PaneFactory factory)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    void *instance = nullptr;
    const PlugInIntfVTable *calls = PaneInterface(factory, &instance);
    BenchDialog dialog;
    PMPDEContext context = nullptr;
    calls->Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr);
    calls->Initialize(context, nullptr, nullptr, dialog.userPane, session.ref());
    for (auto _ : state) {
        if (calls->Sync(context, session.ref(), false) != noErr)
            state.SkipWithError("Sync failed");
    }
    calls->Terminate(context, noErr);
}

BENCHMARK_CAPTURE(PaneStartup, JobAccounting, OrvPDEPluginFactoryJBA)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaneStartup, PrintType, OrvPDEPluginFactoryPrintType)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SyncTowardsTicket, JobAccounting, OrvPDEPluginFactoryJBA)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SyncTowardsTicket, PrintType, OrvPDEPluginFactoryPrintType)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return RunPaneBenchmarks(argc, argv);
}

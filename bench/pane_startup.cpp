// Time from Prologue to the end of Initialize (with its first Sync) for each pane on the
// sample printer, and the time of a Sync that writes the ticket.
#include "PDEPlugInEntry.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/QtBridge.h>
#include <PrintCore/PrintHost.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

extern "C" void *OrvPDEPluginFactoryJBA(CFAllocatorRef, CFUUIDRef);
extern "C" void *OrvPDEPluginFactoryPrintType(CFAllocatorRef, CFUUIDRef);

namespace {

using Factory = void *(*)(CFAllocatorRef, CFUUIDRef);

struct Dialog
{
    QWidget window;
    QWidget *pane;
    ControlRef userPane;
    Dialog()
    {
        auto *layout = new QVBoxLayout(&window);
        pane = new QWidget(&window);
        layout->addWidget(pane);
        VeltraWindowForWidget(&window);
        userPane = VeltraControlForWidget(pane);
    }
};

const PlugInIntfVTable *Interface(Factory factory, void **instanceOut)
{
    CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    void *instance = factory(nullptr, type);
    auto *unknown = *static_cast<IUnknownVTbl **>(instance);
    CFRef<CFUUIDRef> iid(CFUUIDCreateFromString(nullptr, kPMPDEInterfaceID));
    PMPlugInHeaderInterface *pde = nullptr;
    unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(iid), reinterpret_cast<LPVOID *>(&pde));
    *instanceOut = instance;
    return pde->vtable;
}

void PaneStartup(benchmark::State &state, Factory factory)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    void *instance = nullptr;
    const PlugInIntfVTable *calls = Interface(factory, &instance);
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<Dialog>();
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

void SyncTowardsTicket(benchmark::State &state, Factory factory)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    void *instance = nullptr;
    const PlugInIntfVTable *calls = Interface(factory, &instance);
    Dialog dialog;
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir prefs;
    const QByteArray user = (prefs.path() + "/user.prefs").toUtf8();
    const QByteArray any = (prefs.path() + "/any.prefs").toUtf8();
    VeltraPreferencesSetStoreFiles(user.constData(), any.constData());
    CFRef<CFStringRef> path(CFStringCreateWithQString(QStringLiteral(VELTRA_TEST_BUNDLE_DIR)));
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true));
    if (!CFBundleCreate(nullptr, url))
        return 2;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

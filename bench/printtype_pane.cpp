// The print type pane on the sample printer: opening it (Prologue to the end of Initialize,
// with its first Sync) and a Sync towards the ticket with a secure job filled in, with the
// same values again or with a changed one.
#include "PaneBench.h"

#include <PrintCore/PrintHost.h>

#include <QLineEdit>

extern "C" void *OrvPDEPluginFactoryPrintType(CFAllocatorRef, CFUUIDRef);

namespace {

void PrintTypeOpen(benchmark::State &state)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    const PlugInIntfVTable *calls = PaneInterface(OrvPDEPluginFactoryPrintType);
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

void PrintTypeSyncTowardsTicket(benchmark::State &state)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    const PlugInIntfVTable *calls = PaneInterface(OrvPDEPluginFactoryPrintType);
    BenchDialog dialog;
    PMPDEContext context = nullptr;
    calls->Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr);
    calls->Initialize(context, nullptr, nullptr, dialog.userPane, session.ref());
    // A secure job: the passcode is scrambled on every write.
    auto *list = dialog.pane->findChild<QWidget *>("printTypeList");
    if (list)
        list->setProperty("currentIndex", 1);
    ControlRef control = nullptr;
    for (const auto &[id, text] : {std::pair{ControlID{'spui', 204}, "alice"},
                                   std::pair{ControlID{'sppi', 206}, "123456"}}) {
        if (GetControlByID(VeltraWindowForWidget(&dialog.window), &id, &control) == noErr)
            qobject_cast<QLineEdit *>(VeltraControlWidget(control))->setText(text);
    }
    // Argument 1: the user name changes before each Sync, so the preferences are saved each
    // time; 0: the same values again, as at a second Print.
    const bool changing = state.range(0) == 1;
    QLineEdit *userName = nullptr;
    ControlID userNameID{'spui', 204};
    if (GetControlByID(VeltraWindowForWidget(&dialog.window), &userNameID, &control) == noErr)
        userName = qobject_cast<QLineEdit *>(VeltraControlWidget(control));
    int round = 0;
    for (auto _ : state) {
        if (changing && userName) {
            state.PauseTiming();
            userName->setText(++round % 2 ? QStringLiteral("bob") : QStringLiteral("alice"));
            state.ResumeTiming();
        }
        if (calls->Sync(context, session.ref(), false) != noErr)
            state.SkipWithError("Sync failed");
    }
    if (!session.ticket().value("com.veltra.kzu.printsettings.PrintTypePasswordTicketKey"))
        state.SkipWithError("nothing reached the ticket");
    calls->Terminate(context, noErr);
}

BENCHMARK(PrintTypeOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(PrintTypeSyncTowardsTicket)
    ->ArgName("changed")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return RunPaneBenchmarks(argc, argv);
}

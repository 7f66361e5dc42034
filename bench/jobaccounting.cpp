// The job accounting pane on the sample printer: opening it (Prologue to the end of
// Initialize, with its first Sync, which builds the three windows and reads the login name)
// and a Sync towards the ticket, which writes every window's values, scrambles the three
// passwords and stamps the job information (computer and host name, address, date and time).
#include "PaneBench.h"

#include <PrintCore/PrintHost.h>

extern "C" void *OrvPDEPluginFactoryJBA(CFAllocatorRef, CFUUIDRef);

namespace {

void StorePassword(const char *name, CFStringRef user)
{
    CFRef<CFStringRef> key(CFStringCreateWithQString(
        QStringLiteral("Benchcom.veltra.kzu.printsettings.") + QLatin1String(name)));
    CFPreferencesSetValue(key, CFSTR("secret1"), kCFPreferencesAnyApplication, user,
                          kCFPreferencesCurrentHost);
    CFPreferencesSynchronize(kCFPreferencesAnyApplication, user, kCFPreferencesCurrentHost);
}

void JobAccountingOpen(benchmark::State &state)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    const PlugInIntfVTable *calls = PaneInterface(OrvPDEPluginFactoryJBA);
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

void JobAccountingSyncTowardsTicket(benchmark::State &state)
{
    std::string error;
    veltra::PrintSession session("Bench", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    const PlugInIntfVTable *calls = PaneInterface(OrvPDEPluginFactoryJBA);
    // Stored passwords for both settings windows: scrambled on every write.
    StorePassword("JBAUserPasswordTextEditReference", kCFPreferencesCurrentUser);
    StorePassword("JBAAdminUserPasswordTextEditReference", kCFPreferencesAnyUser);
    BenchDialog dialog;
    PMPDEContext context = nullptr;
    calls->Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr);
    calls->Initialize(context, nullptr, nullptr, dialog.userPane, session.ref());
    for (auto _ : state) {
        if (calls->Sync(context, session.ref(), false) != noErr)
            state.SkipWithError("Sync failed");
    }
    const std::string *stamped =
        session.ticket().value("com.veltra.kzu.printsettings.JBAHkgnPrintTimeTicketKey");
    const std::string *password =
        session.ticket().value("com.veltra.kzu.printsettings.JBAUserPasswordTextEditTicket");
    if (!stamped || !password || password->empty() || *password == "secret1")
        state.SkipWithError("the ticket lacks the job information or the scrambled password");
    calls->Terminate(context, noErr);
}

BENCHMARK(JobAccountingOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(JobAccountingSyncTowardsTicket)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return RunPaneBenchmarks(argc, argv);
}

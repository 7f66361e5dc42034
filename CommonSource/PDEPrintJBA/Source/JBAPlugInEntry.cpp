// The job accounting pane's plug-in entry.
#include "CJobAuthenticationPanel.h"
#include "JobInformation.h"
#include "PDEPlugInEntry.h"
#include "PPDQueries.h"

namespace {

CBasePrintPanel *CreateJBAPanel()
{
    return new (std::nothrow) CJobAuthenticationPanel;
}

// The user-ID password fields of the user window, the administrator window and the print-time
// input window are always written scrambled.
void AddJBAEncodeEntries(CFMutableArrayRef list)
{
    AddControlToEncodeArray(nullptr, 'uptt', 303, list);
    AddControlToEncodeArray(nullptr, 'uptt', 1303, list);
    AddControlToEncodeArray(nullptr, 'uptt', 506, list);
}

// Nothing is written after the user cancelled the print-time input.
OSStatus RefuseAfterCancelledInput(CBasePrintPanel *panel)
{
    auto *jba = static_cast<CJobAuthenticationPanel *>(panel);
    return jba->GetPrintCommandState() == kNoPrintCommandPending ? OSStatus(kPMInvalidPrinter)
                                                                 : OSStatus(noErr);
}

// Where and when the job was made goes in after the pane's own values; then the user hears
// of shared settings the preferences refused.
void StampJobInformation(CBasePrintPanel *panel, PMTicketRef ticket)
{
    SetInformationToTicket(ticket, false);
    static_cast<CJobAuthenticationPanel *>(panel)->TellIfSharedSettingsRefused();
}

} // namespace

extern const PDEPaneDescription kJBAPane = {
    .factoryUUID = "3059AF28-E83F-4AC5-BBEC-78C8971D0702",
    .kind = "com.veltra.kzu.pde.JBAKind",
    .titleKey = "Job Authentication Title",
    .maxH = 150,
    .maxV = 60,
    .registersHelpBook = true,
    .settingsAttribute = kOrvProductTypeJBA,
    .fullResourceName = GetAppFullResourceNameJBA,
    .createPanel = CreateJBAPanel,
    .addFixedEncodeEntries = AddJBAEncodeEntries,
    .addPrinterEncodeEntries = nullptr,
    .refuseTicketWrite = RefuseAfterCancelledInput,
    .validatesBeforeTicketWrite = false,
    .afterTicketWrite = StampJobInformation,
    .closeCallsPanel = false,
};

extern "C" __attribute__((visibility("default"))) void *
OrvPDEPluginFactoryJBA(CFAllocatorRef allocator, CFUUIDRef typeID)
{
    return PDEEntry<kJBAPane>::Factory(allocator, typeID);
}

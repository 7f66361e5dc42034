// The job accounting pane's plug-in entry.
#include "CJobAuthenticationPanel.h"
#include "PDEPlugInEntry.h"

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

} // namespace

extern const PDEPaneDescription kJBAPane = {
    "3059AF28-E83F-4AC5-BBEC-78C8971D0702",
    "com.veltra.kzu.pde.JBAKind",
    "Job Authentication Title",
    150,
    60,
    true,
    "VZXAccountingSettings",
    GetAppFullResourceNameJBA,
    CreateJBAPanel,
    AddJBAEncodeEntries,
    nullptr,
    RefuseAfterCancelledInput,
    false,
    nullptr,
    false,
};

extern "C" __attribute__((visibility("default"))) void *
OrvPDEPluginFactoryJBA(CFAllocatorRef allocator, CFUUIDRef typeID)
{
    return PDEEntry<kJBAPane>::Factory(allocator, typeID);
}

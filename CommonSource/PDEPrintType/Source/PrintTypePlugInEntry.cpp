// The print type pane's plug-in entry.
#include "CPrintTypePanel.h"
#include "PDEPlugInEntry.h"
#include "PPDQueries.h"
#include "PrintTypeTables.h"

#include <cstring>

namespace {

CBasePrintPanel *CreatePrintTypePanel()
{
    return new (std::nothrow) CPrintTypePanel;
}

// The passcode is scrambled unless the printer description turns scrambling off.
void AddPrintTypeEncodeEntries(CFMutableArrayRef list, ppd_file_t *ppd)
{
    ppd_attr_t *encrypted = ppdFindAttr(ppd, kOrvPrintTypeIsEncryptPassword, nullptr);
    if (!encrypted ||
        (encrypted->value && strcmp(encrypted->value, kOrvPasswordEncryptedTrue) == 0))
        AddControlToEncodeArray(nullptr, printTypePasswordCtrlID.signature,
                                printTypePasswordCtrlID.id, list);
}

} // namespace

extern const PDEPaneDescription kPrintTypePane = {
    .factoryUUID = "1D9C6339-C758-49A8-94AB-B3CF6CF1A0BF",
    .kind = "com.veltra.kzu.pde.PrintTypeKind",
    .titleKey = "PDE Title",
    .maxH = 80,
    .maxV = 60,
    .registersHelpBook = false,
    .settingsAttribute = kOrvProductTypePrintType,
    .fullResourceName = GetAppFullResourceNamePrintType,
    .createPanel = CreatePrintTypePanel,
    .addFixedEncodeEntries = nullptr,
    .addPrinterEncodeEntries = AddPrintTypeEncodeEntries,
    .refuseTicketWrite = nullptr,
    .validatesBeforeTicketWrite = true,
    .afterTicketWrite = nullptr,
    .closeCallsPanel = true,
};

extern "C" __attribute__((visibility("default"))) void *
OrvPDEPluginFactoryPrintType(CFAllocatorRef allocator, CFUUIDRef typeID)
{
    return PDEEntry<kPrintTypePane>::Factory(allocator, typeID);
}

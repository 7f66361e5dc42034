// The print type pane's plug-in entry.
#include "CPrintTypePanel.h"
#include "PDEPlugInEntry.h"

#include <cstring>

namespace {

CBasePrintPanel *CreatePrintTypePanel()
{
    return new (std::nothrow) CPrintTypePanel;
}

// The passcode is scrambled unless the printer description turns scrambling off.
void AddPrintTypeEncodeEntries(CFMutableArrayRef list, ppd_file_t *ppd)
{
    ppd_attr_t *encrypted = ppdFindAttr(ppd, "VZXPrintTypePasswordEncrypted", nullptr);
    if (!encrypted || (encrypted->value && strcmp(encrypted->value, "True") == 0))
        AddControlToEncodeArray(nullptr, 'sppi', 206, list);
}

} // namespace

extern const PDEPaneDescription kPrintTypePane = {
    "1D9C6339-C758-49A8-94AB-B3CF6CF1A0BF",
    "com.veltra.kzu.pde.PrintTypeKind",
    "PDE Title",
    80,
    60,
    false,
    "VZXPrintTypeSettings",
    GetAppFullResourceNamePrintType,
    CreatePrintTypePanel,
    nullptr,
    AddPrintTypeEncodeEntries,
    nullptr,
    true,
    nullptr,
    true,
};

extern "C" __attribute__((visibility("default"))) void *
OrvPDEPluginFactoryPrintType(CFAllocatorRef allocator, CFUUIDRef typeID)
{
    return PDEEntry<kPrintTypePane>::Factory(allocator, typeID);
}

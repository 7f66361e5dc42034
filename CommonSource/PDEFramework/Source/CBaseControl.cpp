// What every control does: widget lookup, committed value, ticket and preference writes.
#include "CBaseControl.h"

#include "AppResources.h"
#include "SessionAccess.h"
#include "TextInputFilter.h"
#include "TicketValueForm.h"

#include <cstdlib>
#include <cstring>

namespace {
// A stored preference value is read into this many bytes, terminator included.
constexpr size_t kPreferenceReadSize = 255;
} // namespace

CBaseControl::CBaseControl() = default;

CBaseControl::~CBaseControl()
{
    free(controlData);
    free(uiData);
}

bool CBaseControl::AllocateDataBlocks(UInt32 size)
{
    if (controlData && uiData)
        return true;
    free(controlData);
    free(uiData);
    controlData = calloc(1, size);
    uiData = calloc(1, size);
    if (!controlData || !uiData) {
        free(controlData);
        free(uiData);
        controlData = uiData = nullptr;
        blockSize = 0;
        return false;
    }
    blockSize = size;
    return true;
}

bool CBaseControl::InitializeCtrl(WindowRef window)
{
    controlRef = nullptr;
    if (!window || !controlID)
        return false;
    ControlRef found = nullptr;
    if (GetControlByID(window, controlID, &found) != noErr)
        return false;
    controlRef = found;
    return true;
}

bool CBaseControl::ReInitializeCtrl(WindowRef window)
{
    return CBaseControl::InitializeCtrl(window);
}

bool CBaseControl::SetValueToTicket(PMTicketRef ticket, bool locked, CFArrayRef encodeList)
{
    if (encodeList && controlID) {
        const CFIndex count = CFArrayGetCount(encodeList);
        for (CFIndex i = 0; i < count; ++i) {
            auto *entry = static_cast<const ControlID *>(CFArrayGetValueAtIndex(encodeList, i));
            if (SameControlID(entry, controlID))
                return SetValueToTicketWithWmbEnc(ticket, locked);
        }
    }
    return SetValueToTicket(ticket, locked);
}

bool CBaseControl::SetValueToTicketWithWmbEnc(PMTicketRef ticket, bool locked)
{
    unsigned char text[kTicketTextSize] = {};
    if (!accessInfo || !accessInfo->ticketKey)
        return false;
    if (!ConvertToTickectData(text))
        return false;
    text[kTicketTextSize - 1] = 0;

    // The value is scrambled and Base64-coded; an empty value goes in as it is.
    char encoded[kTicketTextSize] = {};
    const int length = GetControlLength(reinterpret_cast<char *>(text));
    if (length != 0) {
        if (EncodeScrambledTicketText(reinterpret_cast<const char *>(text), length, encoded) != 0)
            return false;
    }
    if (IsOutputNullToTicket())
        encoded[0] = 0;
    return PMTicketSetCString(ticket, GetAppClientID(), accessInfo->ticketKey, encoded, locked) ==
           noErr;
}

bool CBaseControl::IsOutputNullToTicket()
{
    return false;
}

bool CBaseControl::SetValueToTicket(PMTicketRef ticket, bool locked)
{
    unsigned char text[kTicketTextSize] = {};
    if (!accessInfo || !accessInfo->ticketKey)
        return false;
    if (!ConvertToTickectData(text))
        return false;
    text[kTicketTextSize - 1] = 0;

    // Values the driver could mistake for option syntax travel as a list of byte values.
    char byteList[kTicketByteListSize] = {};
    const char *value = reinterpret_cast<const char *>(text);
    if (TicketTextNeedsByteList(value)) {
        EncodeTicketByteList(text, byteList, sizeof byteList);
        value = byteList;
    }
    if (IsOutputNullToTicket())
        value = "";
    return PMTicketSetCString(ticket, GetAppClientID(), accessInfo->ticketKey, value, locked) ==
           noErr;
}

bool CBaseControl::GetValueFromTicket(PMTicketRef ticket)
{
    if (!ticket || !accessInfo || !accessInfo->ticketKey)
        return false;
    char buffer[kTicketTextSize] = {};
    if (PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, accessInfo->ticketKey, sizeof buffer,
                           kCFStringEncodingUTF8, buffer) != noErr)
        return true;
    unsigned char decoded[kTicketDecodedSize] = {};
    DecodeTicketByteList(buffer, decoded);
    if (!controlData || blockSize == 0)
        return false;
    const size_t length = strnlen(reinterpret_cast<const char *>(decoded), blockSize - 1);
    memcpy(controlData, decoded, length);
    static_cast<char *>(controlData)[length] = 0;
    return true;
}

bool CBaseControl::SetControlValueToUI()
{
    return true;
}

bool CBaseControl::UIEventHandler()
{
    DoControlUpdateConstrain();
    DoSelfUpdate();
    DoControlHideConstrain();
    DoControlConstrain();
    return true;
}

bool CBaseControl::SimulationUIEventHandler()
{
    DoControlUpdateConstrain();
    DoSelfUpdate();
    DoControlHideConstrain();
    DoControlConstrain();
    return true;
}

bool CBaseControl::TerminateCtrl()
{
    return true;
}

void CBaseControl::CopyIntoBlock(void *destination, const void *block, UInt32 size)
{
    if (!destination || !block || size == 0 || size > blockSize)
        return;
    memcpy(destination, block, size);
    dataSize = size;
}

bool CBaseControl::SetControlValueToDefault()
{
    CopyIntoBlock(controlData, GetDefaultDataBlk(), GetDefaultDataSize());
    return true;
}

bool CBaseControl::SetUIValueToIniData()
{
    CopyIntoBlock(uiData, GetIniDataBlk(), GetIniDataSize());
    return true;
}

bool CBaseControl::SetUIValueToDefault()
{
    // Only a control that has both blocks takes the default into its widget side.
    CopyIntoBlock(controlData ? uiData : nullptr, GetDefaultDataBlk(), GetDefaultDataSize());
    return true;
}

CFMutableStringRef CBaseControl::CreatePreferenceKey() const
{
    CFRef<CFMutableStringRef> key(CFStringCreateMutable(kCFAllocatorDefault, 0));
    CFStringRef printer = owner ? owner->GetCurrentPrinterString() : nullptr;
    if (!key || !accessInfo ||
        !CreateKeyWithCurrentPrinter(accessInfo->preferenceKey, printer, key.get()))
        return nullptr;
    return key.release();
}

bool CBaseControl::SetValueToPreference()
{
    if (!accessInfo || !accessInfo->preferenceKey)
        return true;
    if (!controlData)
        return false;
    char text[kTicketTextSize] = {};
    if (!ConvertToPreferenceString(text))
        return false;
    text[kTicketTextSize - 1] = 0;
    CFRef<CFMutableStringRef> key(CreatePreferenceKey());
    if (!key)
        return false;
    CFRef<CFStringRef> value(
        CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8));
    if (!value)
        return false;
    CFPreferencesSetValue(key, value, kCFPreferencesAnyApplication, accessInfo->preferenceUser,
                          kCFPreferencesCurrentHost);
    return CFPreferencesSynchronize(kCFPreferencesAnyApplication, accessInfo->preferenceUser,
                                    kCFPreferencesCurrentHost);
}

bool CBaseControl::GetValueToPreference()
{
    if (!accessInfo || !accessInfo->preferenceKey)
        return true;
    if (!controlData)
        return false;
    CFRef<CFMutableStringRef> key(CreatePreferenceKey());
    if (!key)
        return false;
    CFRef<CFPropertyListRef> value(CFPreferencesCopyValue(
        key, kCFPreferencesAnyApplication, accessInfo->preferenceUser, kCFPreferencesCurrentHost));
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return false;
    // At most 254 bytes of text and its NUL.
    char text[kPreferenceReadSize] = {};
    if (!CFStringGetCString(static_cast<CFStringRef>(value.get()), text, sizeof text,
                            kCFStringEncodingUTF8))
        return false;
    return ConvertFromPreferenceString(text);
}

bool CBaseControl::SetControlData(void *)
{
    return true;
}

int CBaseControl::GetSummaryText(CFMutableArrayRef, CFMutableArrayRef)
{
    return 0;
}

int CBaseControl::Open(unsigned long)
{
    return 0;
}

int CBaseControl::Close(unsigned long)
{
    return 0;
}

int CBaseControl::DoControlConstrain()
{
    return 0;
}

int CBaseControl::DoControlHideConstrain()
{
    return 0;
}

template <typename Op> void CBaseControl::ForEachListedControl(ControlIDList list, Op op)
{
    if (!list || !owner)
        return;
    for (ControlIDList entry = list; *entry; ++entry) {
        if (CBaseControl *target = owner->GetPanelControl(*entry))
            op(target);
    }
}

int CBaseControl::DoControlUpdateConstrain()
{
    if (!constrainInfo || !constrainInfo->updateTable)
        return 0;
    ForEachListedControl(constrainInfo->updateTable->listFor(GetCurrentControlArrayNumber()),
                         [](CBaseControl *c) { c->Update(); });
    return 0;
}

int CBaseControl::DoSelfUpdate()
{
    return 0;
}

void CBaseControl::HideControlConstrains()
{
    if (constrainInfo && constrainInfo->hideTable)
        HideControlConstrains(constrainInfo->hideTable->listFor(GetCurrentControlArrayNumber()));
}

void CBaseControl::ShowControlConstrains()
{
    if (constrainInfo && constrainInfo->hideTable)
        ShowControlConstrains(constrainInfo->hideTable->listFor(GetCurrentControlArrayNumber()));
}

void CBaseControl::ResetStatus()
{
    disableCount = 0;
    hideCount = 0;
    if (controlRef)
        ActivateControl(controlRef);
}

bool CBaseControl::SetExternalValueToUI(void *, int)
{
    return true;
}

bool CBaseControl::SetDefaultValueToUI()
{
    void *block = GetDefaultDataBlk();
    if (controlData && block) {
        SetExternalValueToUI(block, int(GetDefaultDataSize()));
        if (controlRef)
            Draw1Control(controlRef);
    }
    return true;
}

bool CBaseControl::GetValueToPreset()
{
    return false;
}

bool CBaseControl::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef, ppd_file_t *)
{
    return CBaseControl::InitializeCtrl(window);
}

bool CBaseControl::EmbedUserControl(WindowRef, ControlRef, CFBundleRef, ppd_file_t *)
{
    return true;
}

int CBaseControl::ConstrainPanelControlFromPPD(ppd_file_t *)
{
    return 0;
}

int CBaseControl::UpdateConflictsPanelControlFromPPD(ppd_file_t *)
{
    return 0;
}

void CBaseControl::EnableControlConstrains(ControlIDList list)
{
    ForEachListedControl(list, [](CBaseControl *c) { c->Enable(); });
}

void CBaseControl::DisableControlConstrains(ControlIDList list)
{
    ForEachListedControl(list, [](CBaseControl *c) { c->Disable(); });
}

void CBaseControl::ShowControlConstrains(ControlIDList list)
{
    ForEachListedControl(list, [](CBaseControl *c) { c->Show(); });
}

void CBaseControl::HideControlConstrains(ControlIDList list)
{
    ForEachListedControl(list, [](CBaseControl *c) { c->Hide(); });
}

void *CBaseControl::GetDefaultDataBlk()
{
    return nullptr;
}

UInt32 CBaseControl::GetDefaultDataSize()
{
    return 0;
}

void *CBaseControl::GetIniDataBlk()
{
    return nullptr;
}

UInt32 CBaseControl::GetIniDataSize()
{
    return 0;
}

UInt32 CBaseControl::GetDataBlkSize()
{
    return dataSize;
}

// Enable and disable are counted: a control disabled by several others becomes active again
// only when every one of them has released it.
void CBaseControl::Enable()
{
    --disableCount;
    if (disableCount == 0 && controlRef)
        ActivateControl(controlRef);
}

void CBaseControl::Disable()
{
    ++disableCount;
    if (disableCount != 0 && controlRef)
        DeactivateControl(controlRef);
}

void CBaseControl::Show()
{
    --hideCount;
    if (hideCount == 0 && controlRef)
        ShowControl(controlRef);
}

void CBaseControl::Hide()
{
    ++hideCount;
    if (hideCount != 0 && controlRef)
        HideControl(controlRef);
}

bool CBaseControl::ConvertToTickectData(unsigned char *)
{
    return false;
}

bool CBaseControl::ConvertFromPreferenceString(char *)
{
    return false;
}

bool CBaseControl::ConvertToPreferenceString(char *)
{
    return false;
}

int CBaseControl::Update()
{
    return 0;
}

void CBaseControl::DisableControlConstrains()
{
    if (constrainInfo && constrainInfo->disableTable)
        DisableControlConstrains(
            constrainInfo->disableTable->listFor(GetCurrentControlArrayNumber()));
}

void CBaseControl::EnableControlConstrains()
{
    if (constrainInfo && constrainInfo->disableTable)
        EnableControlConstrains(
            constrainInfo->disableTable->listFor(GetCurrentControlArrayNumber()));
}

SInt32 CBaseControl::GetCurrentControlArrayNumber()
{
    return 0;
}

void *CBaseControl::GetValueFromUI()
{
    return nullptr;
}

int CBaseControl::GetValueFromControl()
{
    return 0;
}

void CBaseControl::SetValueFromUIToControl()
{
    if (!controlData || !uiData || dataSize == 0)
        return;
    memcpy(controlData, uiData, dataSize < blockSize ? dataSize : blockSize);
}

bool CBaseControl::InvalidateData()
{
    return true;
}

bool CBaseControl::PreInvalidateData()
{
    return true;
}

bool CBaseControl::InvalidateDataOnPrintCommand()
{
    return PreInvalidateData() && InvalidateData();
}

void CBaseControl::PPDCtrlShow()
{
    if (controlRef)
        ShowControl(controlRef);
}

void CBaseControl::PPDCtrlHide()
{
    if (controlRef)
        HideControl(controlRef);
}

char *CBaseControl::itoa(int value, char *buffer, int size)
{
    return TicketItoa(value, buffer, size);
}

void CBaseControl::numstrtochar(unsigned char *text, int size)
{
    TicketNumstrtochar(text, size);
}

bool CBaseButton::SimulateUIEventHandler()
{
    return true;
}

bool CBaseControl::ShowLocalizedTitle(CFBundleRef bundle, CFStringRef key)
{
    CFRef<CFStringRef> title(CopyLocalizedText(bundle, key));
    if (!title)
        return false;
    if (controlRef)
        SetControlTitleWithCFString(controlRef, title);
    return true;
}

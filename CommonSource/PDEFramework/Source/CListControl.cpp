// Pop-up lists: menu, 1-based value, and the tables of each item.
#include "CListControl.h"

#include "AppResources.h"
#include "ChoiceValue.h"
#include "TicketValueForm.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

CListControl::CListControl(ControlID *id, ListPopupIniData *ini, ConstrainInfo *constrain,
                           ControlAccessInfo *access)
    : iniData(ini)
{
    controlID = id;
    constrainInfo = constrain;
    accessInfo = access;
    dataSize = kChoiceBlockSize;
}

CListControl::~CListControl() = default;

bool CListControl::InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                  ppd_file_t *ppd)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    if (!InitializeMenu(window, userPane, bundle, ppd))
        return false;
    if (!AllocateDataBlocks(kChoiceBlockSize))
        return false;
    WriteValue(controlData, 0);
    WriteValue(uiData, 0);
    return true;
}

bool CListControl::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::ReInitializeCtrl(window))
        return false;
    return InitializeMenu(GetAppBundleRef());
}

bool CListControl::InitializeMenu(WindowRef, ControlRef, CFBundleRef bundle, ppd_file_t *)
{
    return InitializeMenu(bundle);
}

bool CListControl::InitializeMenu(CFBundleRef bundle)
{
    if (!iniData)
        return true;
    MenuRef menu = controlRef ? GetControlPopupMenuHandle(controlRef) : nullptr;
    CFStringRef *keys = iniData->menuItems;
    SInt16 appended = 0;
    if (menu && keys) {
        DeleteMenuItems(menu, 1, CountMenuItems(menu));
        for (CFStringRef *key = keys; *key && appended < INT16_MAX; ++key) {
            // The key stands for itself when the bundle has no translation.
            CFRef<CFStringRef> text(CFBundleCopyLocalizedString(bundle, *key, *key, nullptr));
            if (AppendMenuItemTextWithCFString(menu, text ? text.get() : *key, 0, 0, nullptr) ==
                noErr)
                ++appended;
        }
    }
    if (controlRef) {
        SetControlMinimum(controlRef, 1);
        SetControlMaximum(controlRef, appended);
    }
    return true;
}

bool CListControl::SetControlValueToUI()
{
    if (!controlData || !controlRef)
        return false;
    SetControlValue(controlRef, SInt16(ReadValue(controlData)));
    return true;
}

bool CListControl::SetExternalValueToUI(void *value, int)
{
    if (!value || !controlRef)
        return false;
    SetControlValue(controlRef, SInt16(ReadValue(value)));
    return true;
}

// A list releases the old item's controls first and then disables the new item's, and records
// the new value itself; check boxes and radio buttons disable first.
int CListControl::DoControlConstrain()
{
    if (!constrainInfo || !constrainInfo->disableTable || !uiData || !controlRef)
        return 0;
    const SInt32 oldValue = ReadValue(uiData);
    const SInt32 newValue = GetControlValue(controlRef);
    if (oldValue == newValue)
        return 0;
    const ControlStateTable &table = *constrainInfo->disableTable;
    if (oldValue > 0)
        EnableControlConstrains(table.listFor(oldValue - 1));
    WriteValue(uiData, newValue);
    DisableControlConstrains(table.listFor(newValue - 1));
    return 0;
}

int CListControl::DoControlHideConstrain()
{
    if (!constrainInfo || !constrainInfo->hideTable || !uiData || !controlRef)
        return 0;
    const SInt32 oldValue = ReadValue(uiData);
    const SInt32 newValue = GetControlValue(controlRef);
    if (oldValue == newValue)
        return 0;
    const ControlStateTable &table = *constrainInfo->hideTable;
    HideControlConstrains(table.listFor(newValue - 1));
    if (oldValue >= 1)
        ShowControlConstrains(table.listFor(oldValue - 1));
    return 0;
}

int CListControl::DoControlUpdateConstrain()
{
    if (!uiData || !controlRef)
        return 0;
    if (ReadValue(uiData) != GetControlValue(controlRef))
        CBaseControl::DoControlUpdateConstrain();
    return 0;
}

void *CListControl::GetDefaultDataBlk()
{
    return iniData ? &iniData->defaultValue : nullptr;
}

UInt32 CListControl::GetDefaultDataSize()
{
    return kChoiceBlockSize;
}

void *CListControl::GetIniDataBlk()
{
    return iniData ? &iniData->iniValue : nullptr;
}

UInt32 CListControl::GetIniDataSize()
{
    return kChoiceBlockSize;
}

bool CListControl::ConvertToTickectData(unsigned char *out)
{
    return FormatChoiceValue(controlData, reinterpret_cast<char *>(out), kTicketTextSize);
}

bool CListControl::ConvertToPreferenceString(char *out)
{
    return FormatChoiceValue(controlData, out, kTicketTextSize - 1);
}

bool CListControl::ConvertFromPreferenceString(char *text)
{
    return ParseChoiceValue(text, controlData);
}

SInt32 CListControl::GetCurrentControlArrayNumber()
{
    if (!controlRef)
        return -1;
    return SInt32(GetControlValue(controlRef)) - 1;
}

void *CListControl::GetValueFromUI()
{
    if (!uiData || !controlRef)
        return nullptr;
    WriteValue(uiData, GetControlValue(controlRef));
    return uiData;
}

int CListControl::GetValueFromControl()
{
    return controlData ? ReadValue(controlData) : 0;
}

void CListControl::SetValueFromUIToControl()
{
    if (!controlData || !uiData || !controlRef)
        return;
    WriteValue(controlData, ReadValue(uiData));
}

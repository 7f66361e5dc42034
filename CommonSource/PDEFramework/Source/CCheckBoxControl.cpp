// Check boxes: value, title, and the disable and hide tables of each state.
#include "CCheckBoxControl.h"

#include "AppResources.h"
#include "ChoiceValue.h"
#include "TicketValueForm.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

CCheckBoxControl::CCheckBoxControl(ControlID *id, CheckBoxIniData *ini, ConstrainInfo *constrain,
                                   ControlAccessInfo *access)
    : iniData(ini)
{
    controlID = id;
    constrainInfo = constrain;
    accessInfo = access;
    dataSize = kChoiceBlockSize;
}

CCheckBoxControl::~CCheckBoxControl() = default;

bool CCheckBoxControl::InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                      ppd_file_t *ppd)
{
    if (!CBaseControl::InitializeCtrl(window))
        return false;
    if (!InitializeTitle(window, userPane, bundle, ppd))
        return false;
    if (!AllocateDataBlocks(kChoiceBlockSize))
        return false;
    WriteValue(controlData, 0);
    WriteValue(uiData, 0);
    return true;
}

bool CCheckBoxControl::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::ReInitializeCtrl(window))
        return false;
    return ReInitializeTitle(GetAppBundleRef());
}

bool CCheckBoxControl::InitializeTitle(WindowRef, ControlRef, CFBundleRef bundle, ppd_file_t *)
{
    return ReInitializeTitle(bundle);
}

bool CCheckBoxControl::ReInitializeTitle(CFBundleRef bundle)
{
    if (!iniData)
        return true;
    if (!iniData->titleKey)
        return false;
    ShowLocalizedTitle(bundle, iniData->titleKey);
    return true;
}

bool CCheckBoxControl::SetControlValueToUI()
{
    if (!controlData || !controlRef)
        return false;
    SetControlValue(controlRef, SInt16(ReadValue(controlData)));
    return true;
}

bool CCheckBoxControl::SimulationUIEventHandler()
{
    CBaseControl::SimulationUIEventHandler();
    GetValueFromUI();
    return true;
}

// The new state's controls are disabled before the old state's are released.
int CCheckBoxControl::DoControlConstrain()
{
    if (!constrainInfo || !constrainInfo->disableTable)
        return eventNotHandledErr;
    if (!uiData || !controlRef)
        return 0;
    const SInt32 oldValue = ReadValue(uiData);
    const SInt32 newValue = GetControlValue(controlRef);
    if (oldValue == newValue)
        return 0;
    const ControlStateTable &table = *constrainInfo->disableTable;
    DisableControlConstrains(table.listFor(newValue));
    if (oldValue >= 0)
        EnableControlConstrains(table.listFor(oldValue));
    return 0;
}

int CCheckBoxControl::DoControlHideConstrain()
{
    if (!constrainInfo || !constrainInfo->hideTable)
        return eventNotHandledErr;
    if (!uiData || !controlRef)
        return 0;
    const SInt32 oldValue = ReadValue(uiData);
    const SInt32 newValue = GetControlValue(controlRef);
    if (oldValue == newValue)
        return 0;
    const ControlStateTable &table = *constrainInfo->hideTable;
    HideControlConstrains(table.listFor(newValue));
    if (oldValue >= 0)
        ShowControlConstrains(table.listFor(oldValue));
    return 0;
}

int CCheckBoxControl::DoControlUpdateConstrain()
{
    if (!constrainInfo || !constrainInfo->updateTable)
        return eventNotHandledErr;
    if (!uiData || !controlRef)
        return 0;
    if (ReadValue(uiData) != GetControlValue(controlRef))
        CBaseControl::DoControlUpdateConstrain();
    return 0;
}

bool CCheckBoxControl::SetExternalValueToUI(void *value, int)
{
    if (!value || !controlRef)
        return false;
    SInt16 shown = 0;
    memcpy(&shown, value, sizeof shown);
    SetControlValue(controlRef, shown);
    return IsControlActive(controlRef);
}

void *CCheckBoxControl::GetDefaultDataBlk()
{
    return iniData ? &iniData->defaultValue : nullptr;
}

UInt32 CCheckBoxControl::GetDefaultDataSize()
{
    return kChoiceBlockSize;
}

void *CCheckBoxControl::GetIniDataBlk()
{
    return iniData ? &iniData->iniValue : nullptr;
}

UInt32 CCheckBoxControl::GetIniDataSize()
{
    return kChoiceBlockSize;
}

bool CCheckBoxControl::ConvertToTickectData(unsigned char *out)
{
    return FormatChoiceValue(controlData, reinterpret_cast<char *>(out), kTicketTextSize);
}

bool CCheckBoxControl::ConvertToPreferenceString(char *out)
{
    return FormatChoiceValue(controlData, out, kTicketTextSize - 1);
}

bool CCheckBoxControl::ConvertFromPreferenceString(char *text)
{
    return ParseChoiceValue(text, controlData);
}

void *CCheckBoxControl::GetValueFromUI()
{
    if (!uiData || !controlRef)
        return nullptr;
    WriteValue(uiData, GetControlValue(controlRef));
    return uiData;
}

int CCheckBoxControl::GetValueFromControl()
{
    return controlData ? ReadValue(controlData) : 0;
}

void CCheckBoxControl::SetValueFromUIToControl()
{
    if (!controlData || !uiData || !controlRef)
        return;
    WriteValue(controlData, ReadValue(uiData));
}

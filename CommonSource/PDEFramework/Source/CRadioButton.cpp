// Radio buttons: value, title, group, and the tables of each state.
#include "CRadioButton.h"

#include "AppResources.h"
#include "CRadioGroup.h"
#include "ChoiceValue.h"
#include "TicketValueForm.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

CRadioButton::CRadioButton(ControlID *id, RadioButtonIniData *ini, ConstrainInfo *constrain,
                           ControlAccessInfo *access)
    : iniData(ini)
{
    controlID = id;
    constrainInfo = constrain;
    accessInfo = access;
    dataSize = kChoiceBlockSize;
}

CRadioButton::~CRadioButton() = default;

bool CRadioButton::InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
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

bool CRadioButton::ReInitializeCtrl(WindowRef window)
{
    if (!CBaseControl::ReInitializeCtrl(window))
        return false;
    return InitializeTitle(GetAppBundleRef());
}

bool CRadioButton::InitializeTitle(WindowRef, ControlRef, CFBundleRef bundle, ppd_file_t *)
{
    return InitializeTitle(bundle);
}

bool CRadioButton::InitializeTitle(CFBundleRef bundle)
{
    if (!iniData)
        return true;
    if (!iniData->titleKey)
        return false;
    ShowLocalizedTitle(bundle, iniData->titleKey);
    return true;
}

UInt32 CRadioButton::GetCtrlDataSize()
{
    return kChoiceBlockSize;
}

SInt32 CRadioButton::GetRadioIndex()
{
    if (!group)
        return -1;
    const SInt32 count = group->GetRadioCount();
    for (SInt32 i = 0; i < count; ++i) {
        CBaseControl *member = group->GetRadioAt(i);
        if (member && SameControlID(member->GetControlID(), controlID))
            return i;
    }
    return -1;
}

void CRadioButton::SetGrpcurRadio()
{
    const SInt32 index = GetRadioIndex();
    if (group && index >= 0)
        group->SetcurRadio(index);
}

bool CRadioButton::SetControlValueToUI()
{
    if (!controlData)
        return false;
    const SInt32 value = ReadValue(controlData);
    if (value > 0)
        SetGrpcurRadio();
    if (!controlRef)
        return false;
    SetControlValue(controlRef, SInt16(value));
    return true;
}

bool CRadioButton::UIEventHandler()
{
    SetGrpcurRadio();
    CBaseControl::UIEventHandler();
    if (group)
        group->GetValueFromUI();
    return true;
}

bool CRadioButton::SimulationUIEventHandler()
{
    if (group && group->GetcurRadio() < 0)
        group->SetcurRadio(0);
    CBaseControl::SimulationUIEventHandler();
    GetValueFromUI();
    return true;
}

// The new state's controls are disabled before the old state's are released.
int CRadioButton::DoControlConstrain()
{
    if (!constrainInfo || !constrainInfo->disableTable || !uiData || !controlRef)
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

int CRadioButton::DoControlHideConstrain()
{
    if (!constrainInfo || !constrainInfo->hideTable || !uiData || !controlRef)
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

int CRadioButton::DoControlUpdateConstrain()
{
    if (!uiData || !controlRef)
        return 0;
    if (ReadValue(uiData) != GetControlValue(controlRef))
        CBaseControl::DoControlUpdateConstrain();
    return 0;
}

int CRadioButton::Update()
{
    const SInt32 current = group ? group->GetcurRadio() : -1;
    const SInt32 mine = GetRadioIndex();
    if (current != mine && controlRef && GetControlValue(controlRef) != 0) {
        SetControlValue(controlRef, 0);
        SimulationUIEventHandler();
    }
    return 0;
}

bool CRadioButton::SetExternalValueToUI(void *value, int)
{
    if (!value)
        return false;
    const SInt32 shown = ReadValue(value);
    if (controlRef)
        SetControlValue(controlRef, SInt16(shown));
    if (shown >= 1)
        SetGrpcurRadio();
    return controlRef && IsControlActive(controlRef);
}

void *CRadioButton::GetDefaultDataBlk()
{
    return iniData ? &iniData->defaultValue : nullptr;
}

UInt32 CRadioButton::GetDefaultDataSize()
{
    return kChoiceBlockSize;
}

void *CRadioButton::GetIniDataBlk()
{
    return iniData ? &iniData->iniValue : nullptr;
}

UInt32 CRadioButton::GetIniDataSize()
{
    return kChoiceBlockSize;
}

bool CRadioButton::ConvertToTickectData(unsigned char *out)
{
    return FormatChoiceValue(controlData, reinterpret_cast<char *>(out), kTicketTextSize);
}

bool CRadioButton::ConvertToPreferenceString(char *out)
{
    return FormatChoiceValue(controlData, out, kTicketTextSize - 1);
}

bool CRadioButton::ConvertFromPreferenceString(char *text)
{
    return ParseChoiceValue(text, controlData);
}

void *CRadioButton::GetValueFromUI()
{
    if (!uiData || !controlRef)
        return nullptr;
    WriteValue(uiData, GetControlValue(controlRef));
    return uiData;
}

int CRadioButton::GetValueFromControl()
{
    return controlData ? ReadValue(controlData) : 0;
}

void CRadioButton::SetValueFromUIToControl()
{
    if (!controlData || !uiData || !controlRef)
        return;
    WriteValue(controlData, ReadValue(uiData));
}

// Choice controls: the value blocks, their texts and the tables of each state.
#include "CChoiceControl.h"

#include "AppResources.h"
#include "TicketValueForm.h"

bool CChoiceControl::InitializeCtrl(WindowRef window, ControlRef, CFBundleRef bundle, ppd_file_t *)
{
    if (!CBaseControl::InitializeCtrl(window) || !ShowTexts(bundle) ||
        !AllocateDataBlocks(kChoiceBlockSize))
        return false;
    WriteValue(controlData, 0);
    WriteValue(uiData, 0);
    return true;
}

bool CChoiceControl::ReInitializeCtrl(WindowRef window)
{
    return CBaseControl::ReInitializeCtrl(window) && ShowTexts(GetAppBundleRef());
}

bool CChoiceControl::ShowTexts(CFBundleRef bundle)
{
    if (!titleKey)
        return true;
    if (!*titleKey)
        return false;
    ShowLocalizedTitle(bundle, *titleKey);
    return true;
}

bool CChoiceControl::SetControlValueToUI()
{
    if (!controlData || !controlRef)
        return false;
    SetControlValue(controlRef, SInt16(ReadValue(controlData)));
    return true;
}

bool CChoiceControl::MoveToNewState(const ControlStateTable *table, bool hiding, bool releaseFirst)
{
    if (!table || !uiData || !controlRef)
        return false;
    const SInt32 oldValue = ReadValue(uiData);
    const SInt32 newValue = GetControlValue(controlRef);
    if (oldValue == newValue)
        return false;
    const ControlIDList left = table->listFor(StateOfValue(oldValue));
    const ControlIDList entered = table->listFor(StateOfValue(newValue));
    const auto release = [&] {
        hiding ? ShowControlConstrains(left) : EnableControlConstrains(left);
    };
    if (releaseFirst)
        release();
    hiding ? HideControlConstrains(entered) : DisableControlConstrains(entered);
    if (!releaseFirst)
        release();
    return true;
}

int CChoiceControl::DoControlConstrain()
{
    if (!constrainInfo || !constrainInfo->disableTable)
        return missingTableAnswer;
    MoveToNewState(constrainInfo->disableTable, false, false);
    return 0;
}

int CChoiceControl::DoControlHideConstrain()
{
    if (!constrainInfo || !constrainInfo->hideTable)
        return missingTableAnswer;
    MoveToNewState(constrainInfo->hideTable, true, false);
    return 0;
}

int CChoiceControl::DoControlUpdateConstrain()
{
    if (!constrainInfo || !constrainInfo->updateTable)
        return missingTableAnswer;
    if (uiData && controlRef && ReadValue(uiData) != GetControlValue(controlRef))
        CBaseControl::DoControlUpdateConstrain();
    return 0;
}

void *CChoiceControl::GetDefaultDataBlk()
{
    return defaultValue;
}

UInt32 CChoiceControl::GetDefaultDataSize()
{
    return kChoiceBlockSize;
}

void *CChoiceControl::GetIniDataBlk()
{
    return iniValue;
}

UInt32 CChoiceControl::GetIniDataSize()
{
    return kChoiceBlockSize;
}

bool CChoiceControl::ConvertToTickectData(unsigned char *out)
{
    return FormatChoiceValue(controlData, reinterpret_cast<char *>(out), kTicketTextSize);
}

bool CChoiceControl::ConvertToPreferenceString(char *out)
{
    return FormatChoiceValue(controlData, out, kTicketTextSize - 1);
}

bool CChoiceControl::ConvertFromPreferenceString(char *text)
{
    return ParseChoiceValue(text, controlData);
}

void *CChoiceControl::GetValueFromUI()
{
    if (!uiData || !controlRef)
        return nullptr;
    WriteValue(uiData, GetControlValue(controlRef));
    return uiData;
}

int CChoiceControl::GetValueFromControl()
{
    return controlData ? ReadValue(controlData) : 0;
}

void CChoiceControl::SetValueFromUIToControl()
{
    if (!controlData || !uiData || !controlRef)
        return;
    WriteValue(controlData, ReadValue(uiData));
}

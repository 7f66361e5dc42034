// Radio buttons: the group, and the value a button shows.
#include "CRadioButton.h"

#include "CRadioGroup.h"

CRadioButton::CRadioButton(ControlID *id, RadioButtonIniData *ini, ConstrainInfo *constrain,
                           ControlAccessInfo *access)
    : CChoiceControl(id, ini, constrain, access), iniData(ini)
{}

CRadioButton::~CRadioButton() = default;

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
    if (controlData && ReadValue(controlData) > 0)
        SetGrpcurRadio();
    return CChoiceControl::SetControlValueToUI();
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

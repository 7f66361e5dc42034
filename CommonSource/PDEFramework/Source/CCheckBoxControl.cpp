// Check boxes: the box's own replay of a change and the value it shows.
#include "CCheckBoxControl.h"

#include <cstring>

CCheckBoxControl::CCheckBoxControl(ControlID *id, CheckBoxIniData *ini, ConstrainInfo *constrain,
                                   ControlAccessInfo *access)
    : CChoiceControl(id, ini, constrain, access), iniData(ini)
{
    missingTableAnswer = eventNotHandledErr;
}

CCheckBoxControl::~CCheckBoxControl() = default;

bool CCheckBoxControl::SimulationUIEventHandler()
{
    CBaseControl::SimulationUIEventHandler();
    GetValueFromUI();
    return true;
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

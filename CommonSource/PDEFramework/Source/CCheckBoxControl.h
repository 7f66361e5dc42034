// A check box: value 0 (off) or 1 (on), titled from a localisation key. Its disable and hide
// tables are indexed by the value; its update table always by entry 0. Each constraint pass
// answers eventNotHandledErr when the box has no table for it.
#pragma once

#include "CChoiceControl.h"

class CCheckBoxControl : public CChoiceControl
{
public:
    CCheckBoxControl(ControlID *id, CheckBoxIniData *iniData, ConstrainInfo *constrainInfo,
                     ControlAccessInfo *accessInfo);
    ~CCheckBoxControl() override;

    // The four constraint passes, then the widget value into uiData.
    bool SimulationUIEventHandler() override;
    // Shows the SInt16 at value; true only when the widget is active.
    bool SetExternalValueToUI(void *value, int size) override;

    CheckBoxIniData *GetIniData() const { return iniData; }

protected:
    CheckBoxIniData *iniData = nullptr;
};

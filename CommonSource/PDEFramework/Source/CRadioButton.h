// A radio button: value 0 (off) or 1 (on), titled from a localisation key. The buttons of a
// group (CRadioGroup) are not exclusive by themselves: the button switched on becomes the
// group's current one, and the others switch themselves off in Update, which the new button
// reaches through its update table.
#pragma once

#include "CChoiceControl.h"

class CRadioGroup;

class CRadioButton : public CChoiceControl
{
public:
    CRadioButton(ControlID *id, RadioButtonIniData *iniData, ConstrainInfo *constrainInfo,
                 ControlAccessInfo *accessInfo);
    ~CRadioButton() override;

    // An "on" value also makes the button its group's current one.
    bool SetControlValueToUI() override;
    // Becomes the group's current button, runs the constraint passes and refreshes the uiData
    // of every member of the group.
    bool UIEventHandler() override;
    bool SimulationUIEventHandler() override;
    // Shows the SInt32 at value; true only when the widget is active.
    bool SetExternalValueToUI(void *value, int size) override;
    // Switches the button off, with its constraints, when another member is current.
    int Update() override;

    virtual UInt32 GetCtrlDataSize();
    // Makes this button the group's current one (nothing outside a group).
    virtual void SetGrpcurRadio();
    // The button's index in its group (matched by ControlID), or -1.
    virtual SInt32 GetRadioIndex();

    CRadioGroup *GetGroup() const { return group; }
    RadioButtonIniData *GetIniData() const { return iniData; }

protected:
    CRadioGroup *group = nullptr;
    RadioButtonIniData *iniData = nullptr;

private:
    friend class CRadioGroup;
};

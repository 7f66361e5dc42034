// A radio button: value 0 (off) or 1 (on), titled from a localisation key. The buttons of a
// group (CRadioGroup) are not exclusive by themselves: the button switched on becomes the
// group's current one, and the others switch themselves off in Update, which the new button
// reaches through its update table.
#pragma once

#include "CBaseControl.h"

class CRadioGroup;

class CRadioButton : public CBaseControl
{
public:
    CRadioButton(ControlID *id, RadioButtonIniData *iniData, ConstrainInfo *constrainInfo,
                 ControlAccessInfo *accessInfo);
    ~CRadioButton() override;

    using CBaseControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    // An "on" value also makes the button its group's current one.
    bool SetControlValueToUI() override;
    // Becomes the group's current button, runs the constraint passes and refreshes the uiData
    // of every member of the group.
    bool UIEventHandler() override;
    bool SimulationUIEventHandler() override;
    int DoControlConstrain() override;
    int DoControlHideConstrain() override;
    int DoControlUpdateConstrain() override;
    // Shows the SInt32 at value; true only when the widget is active.
    bool SetExternalValueToUI(void *value, int size) override;
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    void *GetDefaultDataBlk() override;
    UInt32 GetDefaultDataSize() override;
    void *GetIniDataBlk() override;
    UInt32 GetIniDataSize() override;
    bool ConvertToTickectData(unsigned char *out) override;
    bool ConvertFromPreferenceString(char *text) override;
    bool ConvertToPreferenceString(char *out) override;
    // Switches the button off, with its constraints, when another member is current.
    int Update() override;
    // Reads the widget into uiData; answers uiData, or null when there is no widget or block.
    void *GetValueFromUI() override;
    // The committed value (0 without a block).
    int GetValueFromControl() override;
    void SetValueFromUIToControl() override;

    // The localized titleKey becomes the widget's title: true without a record, false without
    // a key.
    virtual bool InitializeTitle(CFBundleRef bundle);
    virtual UInt32 GetCtrlDataSize();
    // Makes this button the group's current one (nothing outside a group).
    virtual void SetGrpcurRadio();
    // The button's index in its group (matched by ControlID), or -1.
    virtual SInt32 GetRadioIndex();
    virtual bool InitializeTitle(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                 ppd_file_t *ppd);

    CRadioGroup *GetGroup() const { return group; }
    RadioButtonIniData *GetIniData() const { return iniData; }

protected:
    CRadioGroup *group = nullptr;
    RadioButtonIniData *iniData = nullptr;

private:
    friend class CRadioGroup;
};

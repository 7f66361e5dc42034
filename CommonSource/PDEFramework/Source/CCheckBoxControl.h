// A check box: value 0 (off) or 1 (on), titled from a localisation key. Its disable and hide
// tables are indexed by the value; its update table always by entry 0.
#pragma once

#include "CBaseControl.h"

class CCheckBoxControl : public CBaseControl
{
public:
    CCheckBoxControl(ControlID *id, CheckBoxIniData *iniData, ConstrainInfo *constrainInfo,
                     ControlAccessInfo *accessInfo);
    ~CCheckBoxControl() override;

    using CBaseControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool SetControlValueToUI() override;
    // The four constraint passes, then the widget value into uiData.
    bool SimulationUIEventHandler() override;
    // -9874 without a disable table, 0 otherwise.
    int DoControlConstrain() override;
    // -9874 without a hide table, 0 otherwise.
    int DoControlHideConstrain() override;
    // -9874 without an update table, 0 otherwise.
    int DoControlUpdateConstrain() override;
    // Shows the SInt16 at value; true only when the widget is active.
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
    // Reads the widget into uiData; answers uiData, or null when there is no widget or block.
    void *GetValueFromUI() override;
    // The committed value (0 without a block).
    int GetValueFromControl() override;
    void SetValueFromUIToControl() override;

    // The localized titleKey becomes the widget's title: true without a record, false without
    // a key.
    virtual bool ReInitializeTitle(CFBundleRef bundle);
    virtual bool InitializeTitle(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                 ppd_file_t *ppd);

    CheckBoxIniData *GetIniData() const { return iniData; }

protected:
    CheckBoxIniData *iniData = nullptr;
};

// A pop-up list: its value is the 1-based index of the chosen menu item. The menu is built
// from localisation keys; a change of item releases the disable and hide lists of the item
// left and applies those of the item chosen.
#pragma once

#include "CBaseControl.h"

class CListControl : public CBaseControl
{
public:
    CListControl(ControlID *id, ListPopupIniData *iniData, ConstrainInfo *constrainInfo,
                 ControlAccessInfo *accessInfo);
    ~CListControl() override;

    using CBaseControl::InitializeCtrl;

    bool ReInitializeCtrl(WindowRef window) override;
    bool SetControlValueToUI() override;
    int DoControlConstrain() override;
    int DoControlHideConstrain() override;
    int DoControlUpdateConstrain() override;
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
    // The widget value minus 1; -1 without a widget (no state).
    SInt32 GetCurrentControlArrayNumber() override;
    // Reads the widget into uiData; answers uiData, or null when there is no widget or block.
    void *GetValueFromUI() override;
    // The committed value (0 without a block).
    int GetValueFromControl() override;
    void SetValueFromUIToControl() override;

    // Replaces the menu with the localized menuItems keys; minimum 1, maximum = items added.
    virtual bool InitializeMenu(CFBundleRef bundle);
    virtual bool InitializeMenu(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                                ppd_file_t *ppd);

    ListPopupIniData *GetIniData() const { return iniData; }

protected:
    ListPopupIniData *iniData = nullptr;
};

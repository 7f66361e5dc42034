// A pop-up list: its value is the 1-based index of the chosen menu item. The menu is built
// from localisation keys; a change of item releases the disable and hide lists of the item
// left and applies those of the item chosen.
#pragma once

#include "CChoiceControl.h"

class CListControl : public CChoiceControl
{
public:
    CListControl(ControlID *id, ListPopupIniData *iniData, ConstrainInfo *constrainInfo,
                 ControlAccessInfo *accessInfo);
    ~CListControl() override;

    // Releases the old item's controls before disabling the new item's, and records the new
    // value in uiData.
    int DoControlConstrain() override;
    bool SetExternalValueToUI(void *value, int size) override;
    // The widget value minus 1; -1 without a widget (no state).
    SInt32 GetCurrentControlArrayNumber() override;

    ListPopupIniData *GetIniData() const { return iniData; }

protected:
    // Replaces the menu with the localized menuItems keys; minimum 1, maximum = items added.
    bool ShowTexts(CFBundleRef bundle) override;
    SInt32 StateOfValue(SInt32 value) const override { return value - 1; }

    ListPopupIniData *iniData = nullptr;
};

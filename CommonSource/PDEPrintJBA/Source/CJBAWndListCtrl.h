// The specify-name list of the settings windows: login name or a typed user ID. Changing it
// empties the password at once.
#pragma once

#include "CListControl.h"

class CJBAWndListCtrl : public CListControl
{
public:
    CJBAWndListCtrl(ControlID *id, ListPopupIniData *iniData, ConstrainInfo *constrainInfo,
                    ControlAccessInfo *accessInfo, ControlIDList validateList,
                    ControlIDList clearList);
    ~CJBAWndListCtrl() override;

    bool UIEventHandler() override;
    bool SimulationUIEventHandler() override;
    // "JBA Specify Name" and the chosen item's text, unless the window asks at print time.
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;

    // True when every field of the validate list accepts its text. A change of item does not
    // ask it: the user ID is shown or hidden by that change, so it is checked at OK.
    virtual bool ValidateConstrains();
    virtual bool ToGetSummaryText();

    // Empties the fields of the clear list.
    void ClearUserIDPw();

private:
    ControlIDList validateList = nullptr;
    ControlIDList clearList = nullptr;
};

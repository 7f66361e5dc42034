// The account-mode list of the job accounting panel. It keeps the account mode (0-based item)
// and is inactive for a user outside the administrators group, who sees the mode but cannot
// change it.
#pragma once

#include "CListControl.h"

class CJBAListCtrl : public CListControl
{
public:
    CJBAListCtrl(ControlID *id, ListPopupIniData *iniData, ConstrainInfo *constrainInfo,
                 ControlAccessInfo *accessInfo, ControlIDList adminDisableList);
    ~CJBAListCtrl() override;

    bool UIEventHandler() override;
    bool SimulationUIEventHandler() override;
    // "JBA Account Mode" and the current item's text, once the list has found its widget.
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;

    // For a user outside the administrators group, while the list shows item 1, disables the
    // controls of the administrator list.
    virtual void InitializeConstrains();

    SInt32 GetCurrentIndex() const { return currentIndex; }

private:
    // Takes the account mode from the widget (an item above 0).
    void TakeIndexFromWidget();
    // Deactivates the widget unless the user is an administrator, asked anew each time.
    void RestrictToAdministrators();

    SInt32 currentIndex = 1;
    ControlIDList adminDisableList = nullptr;
};

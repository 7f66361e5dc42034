// The login-name field of the settings windows: shows, dimmed, the name of the user running
// the dialog. It is never refused and never read back from the preferences.
#pragma once

#include "CJBAWndTextEditCtrl.h"

class CJBAWndLoginTECtrl : public CJBAWndTextEditCtrl
{
public:
    CJBAWndLoginTECtrl(ControlID *id, TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                       TextEditFilterData *filterData, ControlAccessInfo *accessInfo,
                       CFStringRef summaryTitleKey, bool isPassword);

    // Nothing is read: the field falls back to its default, the login name.
    bool GetValueToPreference() override;
    bool InvalidateData() override;
    bool ToGetSummaryText() override;

    // Puts the user's name into the field's initial and default text: cut to maxLength bytes,
    // or "UnknownUser" when it has a character outside the filter or there is none.
    virtual void SetLoginName();
};

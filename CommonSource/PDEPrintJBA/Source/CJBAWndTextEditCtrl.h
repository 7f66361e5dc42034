// The text fields of the accounting windows. A field is checked only while it is shown and
// enabled, refuses a text of blanks only (except a password), shows its message in the pane's
// message window and takes the keyboard focus back. In the summary a password is a row of
// dots, one per byte.
#pragma once

#include "CTextEditControl.h"

#include <CoreFoundation/CFRef.h>

class CJBAWndTextEditCtrl : public CTextEditControl
{
public:
    CJBAWndTextEditCtrl(ControlID *id, TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                        TextEditFilterData *filterData, ControlAccessInfo *accessInfo,
                        CFStringRef summaryTitleKey, bool isPassword);
    ~CJBAWndTextEditCtrl() override;

    // A hidden field writes nothing (and succeeds).
    bool SetValueToPreference() override;
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;
    bool InvalidateData() override;
    void ShowErrMsg() override;

    // Reads the widget; true when the field is shown, enabled and has a widget.
    virtual bool ToValidate();
    virtual bool ToGetSummaryText();

protected:
    // The length test of the user ID fields: minLength..maxLength, else the message and false.
    bool LengthIsAcceptable();

    CFRef<CFStringRef> summaryTitleKey;
    bool isPassword = false;
};

// The base of the print type pane's text fields. A field checks itself only while it is
// enabled and shown, judges the text the user sees, and after a refusal has shown its message
// and taken the keyboard focus.
#pragma once

#include "CTextEditControl.h"

#include <CoreFoundation/CFRef.h>

class CPTTextEditCtrl : public CTextEditControl
{
public:
    CPTTextEditCtrl(ControlID *id, TextEditIniData *iniData, ConstrainInfo *constrainInfo,
                    TextEditFilterData *filterData, ControlAccessInfo *accessInfo,
                    CFStringRef titleKey);
    ~CPTTextEditCtrl() override;

    // The localised title key and the text (one U+FF65 per byte for a password field).
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;
    int Update() override;
    // A non-empty text of spaces only is refused; then the length and character checks.
    bool InvalidateData() override;
    // An empty text is refused when the field needs at least one character.
    bool PreInvalidateData() override;
    bool CorrectCtrlUI() override;

    // True while the field has its widget and is neither disabled nor hidden.
    virtual bool ToValidate();
    virtual bool ToGetSummaryText();

    using CTextEditControl::ShowErrMsg;
    // Shows the message of messageKey and gives the field the keyboard focus.
    void ShowErrMsg(CFStringRef messageKey);

protected:
    // What every check that goes on does first: the field's window loses the keyboard focus
    // and the field's text is read from its widget.
    void ReadForCheck();
    // PreInvalidateData with the message to show for an empty text.
    bool CheckNotEmpty(CFStringRef messageKey);
    // One U+FF65 per byte of the held text.
    static CFStringRef CreateMaskedText(const char *text);

    CFRef<CFStringRef> titleKey;
};

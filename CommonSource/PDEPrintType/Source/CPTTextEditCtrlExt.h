// The passcode field: digits only, at least the printer's minimum and at most 12. A passcode
// too short at Print opens the confirmation window; the held passcode is put into the widget
// only while the dialog loads the pane.
#pragma once

#include "CPTTextEditCtrl.h"

class CPTTextEditCtrlExt : public CPTTextEditCtrl
{
public:
    CPTTextEditCtrlExt(ControlID *id, const char *minDigitsKeyword, TextEditIniData *iniData,
                       ConstrainInfo *constrainInfo, TextEditFilterData *filterData,
                       ControlAccessInfo *accessInfo, CFStringRef titleKey);

    using CPTTextEditCtrl::InitializeCtrl;
    using CPTTextEditCtrl::ShowErrMsg;

    bool SetControlValueToUI() override;
    // Title with "0 to 12" showing the minimum; one U+FF65 per digit.
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;
    // Also reads the minimum length from the printer description.
    bool InitializeCtrl(WindowRef window, ControlRef userPane, CFBundleRef bundle,
                        ppd_file_t *ppd) override;
    int Update() override;
    bool InvalidateData() override;
    // The length lies between the minimum and 12.
    bool PreInvalidateData() override;
    // Bad characters and over-long passcodes are refused with their message; a short one
    // opens the confirmation window.
    bool InvalidateDataOnPrintCommand() override;
    bool CorrectCtrlUI() override;
    // Runs the confirmation window when the printer sets a minimum, else shows the message.
    void ShowErrMsg() override;

    // "Message60" with "[n]" replaced by the minimum, then the keyboard focus to the field.
    void ShowInivalidCharErrMsg();

    SInt32 GetMinDigits() const { return minDigits; }

private:
    bool HasValidCharacters();

    const char *minDigitsKeyword = nullptr;
    SInt32 minDigits = 0;
};

// A radio button of the accounting windows: it refuses to change, and springs back, while a
// field of its validate list is invalid (the field has shown its message).
#pragma once

#include "CRadioButton.h"

class CJBAWndRadioButton : public CRadioButton
{
public:
    CJBAWndRadioButton(ControlID *id, RadioButtonIniData *iniData, ConstrainInfo *constrainInfo,
                       ControlAccessInfo *accessInfo, ControlIDList validateList);
    ~CJBAWndRadioButton() override;

    bool UIEventHandler() override;
    // While on: the record's summary title and its title.
    int GetSummaryText(CFMutableArrayRef titles, CFMutableArrayRef values) override;

    // True when every field of the validate list found in the window accepts its text.
    virtual bool ValidateConstrains();
    virtual bool ToGetSummaryText();

private:
    ControlIDList validateList = nullptr;
};

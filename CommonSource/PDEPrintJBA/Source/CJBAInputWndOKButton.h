// OK of the print-time input window: the fields are checked, committed, and the print goes on.
#pragma once

#include "CJBABaseButton.h"

class CJBAInputWndOKButton : public CJBABaseButton
{
public:
    using CJBABaseButton::CJBABaseButton;

    bool UIEventHandler() override;
};

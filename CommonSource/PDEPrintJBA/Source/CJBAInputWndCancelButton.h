// Cancel of the print-time input window: the print is held back and the dialog stays open.
#pragma once

#include "CJBABaseButton.h"

class CJBAInputWndCancelButton : public CJBABaseButton
{
public:
    using CJBABaseButton::CJBABaseButton;

    bool UIEventHandler() override;
};

// Cancel of the confirmation window: the print stops and typing goes to the passcode.
#pragma once

#include "CPTBaseButton.h"

class CAboutWndCancelButton : public CPTBaseButton
{
public:
    using CPTBaseButton::CPTBaseButton;

    bool UIEventHandler() override;
};

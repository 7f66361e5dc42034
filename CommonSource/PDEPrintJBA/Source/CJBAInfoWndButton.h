// The panel's settings button: opens the settings window of the account mode, modally.
#pragma once

#include "CJBABaseButton.h"

class CJBAInfoWndButton : public CJBABaseButton
{
public:
    using CJBABaseButton::CJBABaseButton;

    // Account mode 1 opens the user window, 0 the administrator window, any other nothing.
    // Always handled.
    bool UIEventHandler() override;
};

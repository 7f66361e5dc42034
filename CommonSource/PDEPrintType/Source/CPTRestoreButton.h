// Restore: every control of the pane shows and holds its default again.
#pragma once

#include "CPTBaseButton.h"

class CPTRestoreButton : public CPTBaseButton
{
public:
    using CPTBaseButton::CPTBaseButton;

    bool UIEventHandler() override;
};

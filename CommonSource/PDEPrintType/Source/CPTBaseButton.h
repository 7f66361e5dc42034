// A push button of the print type pane: its title is the localised title key.
#pragma once

#include "CTitledButton.h"

class CPTBaseButton : public CTitledButton
{
public:
    using CTitledButton::CTitledButton;
};

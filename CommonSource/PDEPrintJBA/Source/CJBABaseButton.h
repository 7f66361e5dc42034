// A push button of the job accounting pane and its windows: its title is the localised title
// key (the nib's title stays when there is no key or text).
#pragma once

#include "CTitledButton.h"

class CJBABaseButton : public CTitledButton
{
public:
    using CTitledButton::CTitledButton;
};

// Restore of a settings window: the widgets show the defaults; nothing is committed before OK.
#pragma once

#include "CJBABaseButton.h"

class CJBAWndRestoreButton : public CJBABaseButton
{
public:
    using CJBABaseButton::CJBABaseButton;

    bool UIEventHandler() override;
};

// Cancel of a settings window: the window closes and nothing is committed.
#pragma once

#include "CJBABaseButton.h"

class CJBAWndCancelButton : public CJBABaseButton
{
public:
    using CJBABaseButton::CJBABaseButton;

    bool UIEventHandler() override;
};

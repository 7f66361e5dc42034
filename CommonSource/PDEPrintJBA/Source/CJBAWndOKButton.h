// OK of a settings window: every field is checked, then the widgets are committed and the window
// closes. A refused field keeps the window open with nothing committed.
#pragma once

#include "CJBABaseButton.h"

class CJBAWndOKButton : public CJBABaseButton
{
public:
    using CJBABaseButton::CJBABaseButton;

    bool UIEventHandler() override;
};

// A label of the job accounting pane and its windows: its text is the localised title key.
#pragma once

#include "CTitledLabel.h"

class CJBAStaticTextEditControl : public CTitledLabel
{
public:
    CJBAStaticTextEditControl(ControlID *id, CFStringRef titleKey)
        : CTitledLabel(id, nullptr, nullptr, nullptr, nullptr, titleKey)
    {}
};

// A label of the print type pane: its text is the localised title key.
#pragma once

#include "CTitledLabel.h"

class CPTStaticTextEditControl : public CTitledLabel
{
public:
    using CTitledLabel::CTitledLabel;
};

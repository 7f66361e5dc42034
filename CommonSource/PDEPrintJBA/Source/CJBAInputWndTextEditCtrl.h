// A field of the print-time input window: its preference is written also while it is hidden.
#pragma once

#include "CJBAWndTextEditCtrl.h"

class CJBAInputWndTextEditCtrl : public CJBAWndTextEditCtrl
{
public:
    using CJBAWndTextEditCtrl::CJBAWndTextEditCtrl;

    bool SetValueToPreference() override;
};

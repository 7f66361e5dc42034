// The user ID field of the print-time input window: 1 to 32 bytes while it is shown.
#pragma once

#include "CJBAInputWndTextEditCtrl.h"

class CJBAInputWndTextEditCtrlExt : public CJBAInputWndTextEditCtrl
{
public:
    using CJBAInputWndTextEditCtrl::CJBAInputWndTextEditCtrl;

    bool PreInvalidateData() override;
};

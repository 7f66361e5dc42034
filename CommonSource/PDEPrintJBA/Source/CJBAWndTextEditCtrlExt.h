// The user ID field of the settings windows: 1 to 32 bytes, listed in the summary while the
// window gives a typed user ID.
#pragma once

#include "CJBAWndTextEditCtrl.h"

class CJBAWndTextEditCtrlExt : public CJBAWndTextEditCtrl
{
public:
    using CJBAWndTextEditCtrl::CJBAWndTextEditCtrl;

    bool InvalidateData() override;
    bool ToGetSummaryText() override;
};

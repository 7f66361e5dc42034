// The document name field: only the length and character checks (an empty name is valid).
#pragma once

#include "CPTTextEditCtrl.h"

class CPTTextEditCtrlExt1 : public CPTTextEditCtrl
{
public:
    using CPTTextEditCtrl::CPTTextEditCtrl;

    bool InvalidateData() override;
};

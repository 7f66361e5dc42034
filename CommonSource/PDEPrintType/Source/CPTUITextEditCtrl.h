// The user name field: an empty name is refused with its own message ("Message42").
#pragma once

#include "CPTTextEditCtrl.h"

class CPTUITextEditCtrl : public CPTTextEditCtrl
{
public:
    using CPTTextEditCtrl::CPTTextEditCtrl;

    bool PreInvalidateData() override;
};

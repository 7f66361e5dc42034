// The password field of the settings windows: empty or 4 to 12 bytes, written scrambled.
#pragma once

#include "CJBAWndTextEditCtrl.h"

class CJBAWndTextEditCtrlExtPwd : public CJBAWndTextEditCtrl
{
public:
    using CJBAWndTextEditCtrl::CJBAWndTextEditCtrl;
};

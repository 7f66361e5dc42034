// The version text of the print type pane: "ver." followed by the bundle's short version string.
#pragma once

#include "CVersionStaticText.h"

class CPTVerStringSText : public CVersionStaticText
{
public:
    using CVersionStaticText::CVersionStaticText;
};

// The version text of the job accounting pane: "ver." followed by the bundle's short version.
#pragma once

#include "CVersionStaticText.h"

class CJBAVerStringSText : public CVersionStaticText
{
public:
    using CVersionStaticText::CVersionStaticText;
};

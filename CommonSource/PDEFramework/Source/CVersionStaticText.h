// The version text: "ver." followed by the bundle's short version string.
#pragma once

#include "CStaticTextControl.h"

class CVersionStaticText : public CStaticTextControl
{
public:
    explicit CVersionStaticText(ControlID *id);

    // False, with the title left alone, when the bundle has no version string.
    bool InitializeTitle(CFBundleRef bundle) override;
};

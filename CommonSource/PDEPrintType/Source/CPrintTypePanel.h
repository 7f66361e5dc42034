// The print type pane: ordinary, secure or sample job.
#pragma once

#include "CBasePrintPanel.h"

class CPrintTypePanel : public CBasePrintPanel
{
public:
    CPrintTypePanel();
    ~CPrintTypePanel() override;

    CFArrayRef GetPrinterSupporttedListRef() override;
};

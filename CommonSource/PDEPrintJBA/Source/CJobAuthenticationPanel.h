// The job accounting pane: who pays for the job.
#pragma once

#include "CBasePrintPanel.h"

constexpr SInt32 kPrintCommandProceed = 2001;
constexpr SInt32 kNoPrintCommandPending = 2002; // the print-time input was cancelled

class CJobAuthenticationPanel : public CBasePrintPanel
{
public:
    CJobAuthenticationPanel();
    ~CJobAuthenticationPanel() override;

    CFArrayRef GetPrinterSupporttedListRef() override;

    SInt32 GetPrintCommandState() const { return printCommandState; }
    void SetPrintCommandState(SInt32 state) { printCommandState = state; }

private:
    SInt32 printCommandState = kPrintCommandProceed;
};

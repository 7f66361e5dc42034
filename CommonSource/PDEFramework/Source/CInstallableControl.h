// A control without a widget that ties an installable option of the printer description to the
// panel: it disables the controls listed for the option's marked choice (a printer without a
// hard disk keeps the job types that need one out of reach).
#pragma once

#include "CBaseControl.h"

// ConstrainPanelControlFromPPD: a table entry matched and its list has been disabled.
constexpr int kInstallableOptionConstrained = 1000;
// IsOptionNeedConstrain: a table entry matches the marked choice.
constexpr int kInstallableOptionNeedsConstrain = 1001;

class CInstallableControl : public CBaseControl
{
public:
    CInstallableControl(const char *ppdKeyword, InstallableOptionConstrainInfo *optionInfo);
    ~CInstallableControl() override;

    // Disables the list of the first table entry that is a prefix of the marked choice of
    // ppdKeyword: 1000 when an entry matched, 0 otherwise (no description, option, marked
    // choice or table, or no entry matched).
    int ConstrainPanelControlFromPPD(ppd_file_t *ppd) override;

    // The same matching without disabling anything: 1001 on a match, 0 otherwise.
    int IsOptionNeedConstrain(ppd_file_t *ppd);

    const char *GetPPDKeyword() const { return ppdKeyword; }

private:
    // The first table entry whose choice begins the marked choice's name, or null.
    const InstallableOptionChoice *FindMatchingChoice(ppd_file_t *ppd) const;

    const char *ppdKeyword = nullptr;
    InstallableOptionConstrainInfo *optionInfo = nullptr;
};

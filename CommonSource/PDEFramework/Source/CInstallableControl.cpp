// The installable option of the printer description and the controls it disables.
#include "CInstallableControl.h"

#include <CoreFoundation/UTF8Text.h>

#include <cstring>

CInstallableControl::CInstallableControl(const char *keyword, InstallableOptionConstrainInfo *info)
    : ppdKeyword(keyword), optionInfo(info)
{}

CInstallableControl::~CInstallableControl() = default;

const InstallableOptionChoice *CInstallableControl::FindMatchingChoice(ppd_file_t *ppd) const
{
    if (!ppd || !ppdKeyword)
        return nullptr;
    ppd_choice_t *marked = ppdFindMarkedChoice(ppd, ppdKeyword);
    if (!marked)
        return nullptr;
    // The name must read as UTF-8 text; a damaged one matches nothing.
    const char *name = marked->choice;
    const size_t nameLength = strnlen(name, sizeof marked->choice);
    if (nameLength == sizeof marked->choice || !veltra::IsValidUTF8(name, nameLength))
        return nullptr;
    if (!optionInfo || !optionInfo->choiceTable)
        return nullptr;
    // A table entry names the start of a choice: "True" also stands for "TrueHD".
    for (const InstallableOptionChoice *entry = optionInfo->choiceTable; entry->choice; ++entry) {
        const size_t entryLength = strlen(entry->choice);
        if (nameLength >= entryLength && memcmp(name, entry->choice, entryLength) == 0)
            return entry;
    }
    return nullptr;
}

int CInstallableControl::ConstrainPanelControlFromPPD(ppd_file_t *ppd)
{
    const InstallableOptionChoice *entry = FindMatchingChoice(ppd);
    if (!entry)
        return 0;
    DisableControlConstrains(entry->disableList);
    return kInstallableOptionConstrained;
}

int CInstallableControl::IsOptionNeedConstrain(ppd_file_t *ppd)
{
    return FindMatchingChoice(ppd) ? kInstallableOptionNeedsConstrain : 0;
}

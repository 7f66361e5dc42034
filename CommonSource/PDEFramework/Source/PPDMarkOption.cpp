// Marking choices in the description the print system owns.
#include "PPDMarkOption.h"

#include <strings.h>

namespace {

// libcups keeps the marked choices in a list of its own as well (ppdFindMarkedChoice reads it);
// it is brought in step with the flags of option after they change.
void SyncMarkedList(ppd_file_t *ppd, ppd_option_t *option)
{
    if (!ppd->marked || option->num_choices <= 0)
        return;
    // The list orders and finds its entries by option: any choice of option finds them.
    while (void *stale = cupsArrayFind(ppd->marked, &option->choices[0]))
        cupsArrayRemove(ppd->marked, stale);
    for (int c = 0; c < option->num_choices; ++c) {
        if (option->choices[c].marked)
            cupsArrayAdd(ppd->marked, &option->choices[c]);
    }
}

void ClearOption(ppd_file_t *ppd, const char *keyword)
{
    ppd_option_t *option = ppdFindOption(ppd, keyword);
    if (!option)
        return;
    for (int c = 0; c < option->num_choices; ++c)
        option->choices[c].marked = 0;
    SyncMarkedList(ppd, option);
}

void MarkPageSize(ppd_file_t *ppd, const char *choice)
{
    for (int s = 0; s < ppd->num_sizes; ++s)
        ppd->sizes[s].marked = strcasecmp(ppd->sizes[s].name, choice) == 0;
}

} // namespace

bool PPDMarkOption(ppd_file_t *ppd, const UIConstraintTable *table, const char *option,
                   const char *choice)
{
    if (!ppd || !option || !choice)
        return false;
    if (strcasecmp(option, kPPDPageSizeKey) == 0 &&
        strncasecmp(choice, kPPDCustomSizePrefix, sizeof kPPDCustomSizePrefix - 1) == 0) {
        ppdPageSize(ppd, choice);
        choice = kPPDCustomSizeChoice;
    }
    ppd_option_t *found = ppdFindOption(ppd, option);
    if (!found)
        return false;

    ppd_choice_t *marked = nullptr;
    for (int c = 0; c < found->num_choices && !marked; ++c) {
        if (strcasecmp(found->choices[c].choice, choice) == 0)
            marked = &found->choices[c];
    }
    if (marked) {
        marked->marked = 1;
        if (found->ui != PPD_UI_PICKMANY) {
            for (int c = 0; c < found->num_choices; ++c) {
                if (&found->choices[c] != marked)
                    found->choices[c].marked = 0;
            }
        }
        SyncMarkedList(ppd, found);

        if (strcasecmp(option, kPPDPageSizeKey) == 0) {
            MarkPageSize(ppd, choice);
            ClearOption(ppd, kPPDPageRegionKey);
        } else if (strcasecmp(option, kPPDPageRegionKey) == 0) {
            MarkPageSize(ppd, choice);
            ClearOption(ppd, kPPDPageSizeKey);
        } else if (strcasecmp(option, kPPDInputSlotKey) == 0) {
            ClearOption(ppd, kPPDManualFeedKey);
        } else if (strcasecmp(option, kPPDManualFeedKey) == 0) {
            ClearOption(ppd, kPPDInputSlotKey);
        }
    }
    return IsPPDChoiceConflicted(ppd, table, option, choice);
}

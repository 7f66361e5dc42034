// The choices of a PPD option as a pop-up fills its menu from them: keyword, choice name, the
// choice's text and whether it conflicts with what is marked.
#pragma once

#include "UIConstraintTable.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cups/ppd.h>

// Appends to *list one CFArray per choice of the option keyword, in the PPD's order: the
// option keyword and the choice name (UTF-8), the choice's text (CreatePPDTitleString) and
// "ConflictTrue" or "ConflictFalse" as IsPPDChoiceConflicted says; adds 1 to *count per
// entry. Does nothing without *list, or when the option is absent or has no choices. Answers 0.
OSStatus GetUIListFromPPD(ppd_file_t *ppd, const UIConstraintTable *table, const char *keyword,
                          CFMutableArrayRef *list, short *count);

// GetUIListFromPPD for the option keyword when it exists, with a count of its own. Answers true.
bool InitializeValueFromPPD(ppd_file_t *ppd, const UIConstraintTable *table,
                            CFMutableArrayRef *list, const char *keyword);

// Marking a choice in the printer description, with the rules that tie page size to page
// region and paper source to manual feed, and the conflict answer of the choice marked.
#pragma once

#include "UIConstraintTable.h"

#include <cups/ppd.h>

// Option keywords whose marking changes other options.
inline constexpr char kPPDPageSizeKey[] = "PageSize";
inline constexpr char kPPDPageRegionKey[] = "PageRegion";
inline constexpr char kPPDInputSlotKey[] = "InputSlot";
inline constexpr char kPPDManualFeedKey[] = "ManualFeed";
// A PageSize choice "Custom.WIDTHxLENGTH" sets the custom size and marks the choice "Custom".
inline constexpr char kPPDCustomSizePrefix[] = "Custom.";
inline constexpr char kPPDCustomSizeChoice[] = "Custom";

// Marks choice of option (both found without regard to case) and unmarks the option's other
// choices unless it is PickMany. PageSize and PageRegion mark the page size of that name and
// clear each other; InputSlot and ManualFeed clear each other. A choice the option lacks marks
// nothing. Answers IsPPDChoiceConflicted of the choice; false without description, option or
// choice.
bool PPDMarkOption(ppd_file_t *ppd, const UIConstraintTable *table, const char *option,
                   const char *choice);

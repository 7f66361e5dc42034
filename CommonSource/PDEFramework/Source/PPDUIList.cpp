// Lists of an option's choices with their conflict flags.
#include "PPDUIList.h"

#include "PPDQueries.h"

#include <climits>

namespace {

// Keywords and choice names are UTF-8 by rule, but a PPD may still carry other bytes: those
// are read as ISO Latin-1 rather than dropped.
CFStringRef CreateKeywordString(const char *text)
{
    if (CFStringRef str = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8))
        return str;
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingISOLatin1);
}

} // namespace

OSStatus GetUIListFromPPD(ppd_file_t *ppd, const UIConstraintTable *table, const char *keyword,
                          CFMutableArrayRef *list, short *count)
{
    if (!ppd || !keyword || !list || !*list)
        return noErr;
    const ppd_option_t *option = ppdFindOption(ppd, keyword);
    if (!option || option->num_choices <= 0)
        return noErr;

    CFRef<CFStringRef> optionKeyword(CreateKeywordString(option->keyword));
    // Looked up once: each CFSTR evaluation searches the table of constant strings.
    static const CFStringRef conflictTrue = CFSTR("ConflictTrue");
    static const CFStringRef conflictFalse = CFSTR("ConflictFalse");
    for (int c = 0; c < option->num_choices; ++c) {
        const ppd_choice_t &choice = option->choices[c];
        CFRef<CFStringRef> name(CreateKeywordString(choice.choice));
        CFRef<CFStringRef> text(CreatePPDTitleString(ppd, choice.text));
        const bool conflicted = IsPPDChoiceConflicted(ppd, table, option->keyword, choice.choice);
        const void *values[] = {optionKeyword.get(), name.get(), text.get(),
                                conflicted ? conflictTrue : conflictFalse};
        if (!values[0] || !values[1] || !values[2])
            continue;
        CFRef<CFArrayRef> entry(CFArrayCreate(nullptr, values, 4, &kCFTypeArrayCallBacks));
        if (!entry)
            continue;
        CFArrayAppendValue(*list, entry.get());
        if (count && *count < SHRT_MAX)
            ++*count;
    }
    return noErr;
}

bool InitializeValueFromPPD(ppd_file_t *ppd, const UIConstraintTable *table,
                            CFMutableArrayRef *list, const char *keyword)
{
    if (ppd && keyword && ppdFindOption(ppd, keyword)) {
        short count = 0;
        GetUIListFromPPD(ppd, table, keyword, list, &count);
    }
    return true;
}

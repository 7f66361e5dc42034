// veltra-ppdtool: what the print dialog's constraint table makes of a PPD. Lists every choice
// with its conflict flag after marking the defaults and the given choices, answers one conflict
// query, or reports the size of the table.
#include "PPDMarkOption.h"
#include "PPDUIList.h"
#include "UIConstraintTable.h"

#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PrintHost.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace {

constexpr char kProgram[] = "veltra-ppdtool";

enum ExitCode
{
    kExitNoConflict = 0,
    kExitConflict = 1,
    kExitUsage = 2,
    kExitFile = 3,
};

constexpr char kUsage[] =
    "Usage: veltra-ppdtool list FILE [OPTION=CHOICE]...\n"
    "       veltra-ppdtool conflict FILE OPTION CHOICE [OPTION=CHOICE]...\n"
    "       veltra-ppdtool stats FILE\n"
    "\n"
    "Builds the UI-constraint table of the PPD FILE (plain or gzip-compressed), marks the\n"
    "PPD's default choices, then marks each OPTION=CHOICE in the order given.\n"
    "\n"
    "  list      print one line per choice of every option: keyword, choice, text (UTF-8)\n"
    "            and ConflictTrue or ConflictFalse, separated by tabs\n"
    "  conflict  tell whether choosing CHOICE of OPTION conflicts with the marked choices;\n"
    "            prints ConflictTrue or ConflictFalse\n"
    "  stats     print the number of constraints, table entries, buckets and bytes\n"
    "\n"
    "A PageSize choice Custom.WIDTHxLENGTH (points) marks the custom page size.\n"
    "\n"
    "Exit status: 0 success (conflict: no conflict), 1 conflict, 2 usage error or an\n"
    "option or choice the PPD lacks, 3 a missing, unreadable or malformed PPD.\n";

int UsageError(const std::string &message)
{
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, message.c_str(), kProgram);
    return kExitUsage;
}

// An option and choice named on the command line, as the PPD spells them.
struct Selection
{
    std::string option;
    std::string choice;
    bool customSize = false; // a PageSize choice Custom.WxH
};

// Finds option and choice without regard to case; a PageSize choice Custom.WxH stays as given
// so that marking it sets the custom size. False, with a message, when the PPD lacks either.
bool Resolve(ppd_file_t *ppd, const std::string &option, const std::string &choice, Selection *out,
             std::string *error)
{
    const ppd_option_t *found = ppdFindOption(ppd, option.c_str());
    if (!found) {
        *error = "the PPD has no option \"" + option + "\"";
        return false;
    }
    out->option = found->keyword;
    out->customSize =
        strcasecmp(found->keyword, kPPDPageSizeKey) == 0 &&
        strncasecmp(choice.c_str(), kPPDCustomSizePrefix, sizeof kPPDCustomSizePrefix - 1) == 0;
    const std::string wanted = out->customSize ? kPPDCustomSizeChoice : choice;
    for (int c = 0; c < found->num_choices; ++c) {
        if (strcasecmp(found->choices[c].choice, wanted.c_str()) == 0) {
            out->choice = out->customSize ? choice : std::string(found->choices[c].choice);
            return true;
        }
    }
    *error = "option \"" + out->option + "\" has no choice \"" + choice + "\"";
    return false;
}

// OPTION=CHOICE words, resolved against the PPD.
bool ParseMarks(ppd_file_t *ppd, char **words, int count, std::vector<Selection> *marks,
                std::string *error)
{
    for (int i = 0; i < count; ++i) {
        const char *equals = std::strchr(words[i], '=');
        if (!equals || equals == words[i] || equals[1] == '\0') {
            *error = std::string("expected OPTION=CHOICE, got \"") + words[i] + "\"";
            return false;
        }
        Selection mark;
        if (!Resolve(ppd, std::string(words[i], size_t(equals - words[i])), equals + 1, &mark,
                     error))
            return false;
        marks->push_back(mark);
    }
    return true;
}

void MarkChoices(ppd_file_t *ppd, const UIConstraintTable *table,
                 const std::vector<Selection> &marks)
{
    ppdMarkDefaults(ppd);
    for (const Selection &mark : marks) {
        if (PPDMarkOption(ppd, table, mark.option.c_str(), mark.choice.c_str()))
            std::fprintf(stderr, "%s: note: %s=%s conflicts with a marked choice\n", kProgram,
                         mark.option.c_str(), mark.choice.c_str());
    }
}

// The UTF-8 text of str, with tabs and line breaks turned into spaces so that every choice
// stays one line of tab-separated fields.
std::string LineField(CFStringRef str)
{
    std::vector<char> buffer(
        size_t(CFStringGetMaximumSizeForEncoding(CFStringGetLength(str), kCFStringEncodingUTF8)) +
        1);
    if (!CFStringGetCString(str, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8))
        return {};
    std::string text(buffer.data());
    for (char &ch : text) {
        if (ch == '\t' || ch == '\n' || ch == '\r')
            ch = ' ';
    }
    return text;
}

void PrintOptionList(ppd_file_t *ppd, const UIConstraintTable *table, const ppd_option_t &option)
{
    CFRef<CFMutableArrayRef> list(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFMutableArrayRef out = list.get();
    short count = 0;
    GetUIListFromPPD(ppd, table, option.keyword, &out, &count);
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
        auto entry = static_cast<CFArrayRef>(CFArrayGetValueAtIndex(list, i));
        std::string line;
        for (CFIndex f = 0; f < CFArrayGetCount(entry); ++f) {
            if (f)
                line += '\t';
            line += LineField(static_cast<CFStringRef>(CFArrayGetValueAtIndex(entry, f)));
        }
        std::printf("%s\n", line.c_str());
    }
}

// Every option of group and its sub-groups, in the PPD's order.
void PrintGroupLists(ppd_file_t *ppd, const UIConstraintTable *table, const ppd_group_t &group)
{
    for (int o = 0; o < group.num_options; ++o)
        PrintOptionList(ppd, table, group.options[o]);
    for (int s = 0; s < group.num_subgroups; ++s)
        PrintGroupLists(ppd, table, group.subgroups[s]);
}

int Run(int argc, char **argv)
{
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(kUsage, stdout);
        return kExitNoConflict;
    }
    if (argc < 3)
        return UsageError(argc < 2 ? "no command given" : "no PPD file given");
    const std::string command = argv[1];
    if (command != "list" && command != "conflict" && command != "stats")
        return UsageError("unknown command \"" + command + "\"");
    if (command == "stats" && argc != 3)
        return UsageError("stats takes only the PPD file");
    if (command == "conflict" && argc < 5)
        return UsageError("conflict needs the PPD file, an option and a choice");

    std::string error;
    veltra::PPDFile ppd = veltra::OpenPPD(argv[2], &error);
    if (!ppd) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return kExitFile;
    }
    const std::unique_ptr<UIConstraintTable> table = CreateUIConstraintTable(ppd.get());

    if (command == "stats") {
        std::printf("constraints\t%d\nentries\t%zu\nbuckets\t%zu\nbytes\t%zu\n", ppd->num_consts,
                    table->EntryCount(), table->BucketCount(), table->MemoryBytes());
        return kExitNoConflict;
    }

    const int first = command == "list" ? 3 : 5;
    Selection query;
    std::vector<Selection> marks;
    if ((command == "conflict" && !Resolve(ppd.get(), argv[3], argv[4], &query, &error)) ||
        !ParseMarks(ppd.get(), argv + first, argc - first, &marks, &error))
        return UsageError(error);
    MarkChoices(ppd.get(), table.get(), marks);

    if (command == "list") {
        for (int g = 0; g < ppd->num_groups; ++g)
            PrintGroupLists(ppd.get(), table.get(), ppd->groups[g]);
        return kExitNoConflict;
    }
    // The custom page size is one choice of the table, whatever its dimensions.
    if (query.customSize)
        query.choice = kPPDCustomSizeChoice;
    const bool conflicted =
        IsPPDChoiceConflicted(ppd.get(), table.get(), query.option.c_str(), query.choice.c_str());
    std::printf("%s\n", conflicted ? "ConflictTrue" : "ConflictFalse");
    return conflicted ? kExitConflict : kExitNoConflict;
}

} // namespace

int main(int argc, char **argv)
{
    return Run(argc, argv);
}

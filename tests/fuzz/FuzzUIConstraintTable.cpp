// Fuzzes the UI-constraint table of a printer description: every choice is queried with the
// defaults marked, marked through PPDMarkOption, and queried with nothing marked (no conflict).
#include "PPDMarkOption.h"
#include "UIConstraintTable.h"

#include <cups/file.h>
#include <cups/ppd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

template <typename Visit> static void ForEachChoice(ppd_file_t *ppd, Visit visit)
{
    for (int g = 0; g < ppd->num_groups; ++g) {
        for (int o = 0; o < ppd->groups[g].num_options; ++o) {
            ppd_option_t &option = ppd->groups[g].options[o];
            for (int c = 0; c < option.num_choices; ++c)
                visit(option, option.choices[c]);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The input as a CUPS file in memory, read from its start; closing it closes the descriptor.
    const int fd = memfd_create("ppd", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != ssize_t(size) || lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        return 0;
    }
    std::unique_ptr<cups_file_t, int (*)(cups_file_t *)> file(cupsFileOpenFd(fd, "r"),
                                                              cupsFileClose);
    if (!file) {
        close(fd);
        return 0;
    }
    std::unique_ptr<ppd_file_t, void (*)(ppd_file_t *)> ppd(ppdOpen2(file.get()), ppdClose);
    if (!ppd)
        return 0;
    const std::unique_ptr<UIConstraintTable> table = CreateUIConstraintTable(ppd.get());
    if (!table)
        std::abort();

    ppdMarkDefaults(ppd.get());
    int marked = 0; // bounds the work of an input with thousands of choices
    ForEachChoice(ppd.get(), [&](ppd_option_t &option, ppd_choice_t &choice) {
        IsPPDChoiceConflicted(ppd.get(), table.get(), option.keyword, choice.choice);
        if (marked++ < 256)
            PPDMarkOption(ppd.get(), table.get(), option.keyword, choice.choice);
    });
    // With nothing marked, nothing can be in conflict.
    ForEachChoice(ppd.get(), [](ppd_option_t &, ppd_choice_t &choice) { choice.marked = 0; });
    ForEachChoice(ppd.get(), [&](ppd_option_t &option, ppd_choice_t &choice) {
        if (IsPPDChoiceConflicted(ppd.get(), table.get(), option.keyword, choice.choice))
            std::abort();
    });
    return 0;
}

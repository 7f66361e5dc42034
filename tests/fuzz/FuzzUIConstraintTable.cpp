// Fuzzes building the UI-constraint table from a printer description and asking it: every
// choice of every option is queried with the defaults marked, marked in turn through
// PPDMarkOption, and queried again with nothing marked, when no choice may conflict.
#include "PPDMarkOption.h"
#include "UIConstraintTable.h"

#include <cups/file.h>
#include <cups/ppd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct PPDCloser
{
    void operator()(ppd_file_t *ppd) const { ppdClose(ppd); }
};

// Closing the CUPS file closes its descriptor too.
struct CupsFileCloser
{
    void operator()(cups_file_t *file) const { cupsFileClose(file); }
};

// The input as a CUPS file in memory, read from its start.
cups_file_t *OpenInput(const uint8_t *data, size_t size)
{
    const int fd = memfd_create("ppd", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (write(fd, data, size) != ssize_t(size) || lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        return nullptr;
    }
    cups_file_t *file = cupsFileOpenFd(fd, "r");
    if (!file)
        close(fd);
    return file;
}

// Bounds the work of one input: a description with thousands of choices is still read whole.
constexpr int kMarkedChoicesLimit = 256;

template <typename Visit> void ForEachChoice(ppd_file_t *ppd, Visit visit)
{
    for (int g = 0; g < ppd->num_groups; ++g) {
        ppd_group_t &group = ppd->groups[g];
        for (int o = 0; o < group.num_options; ++o) {
            ppd_option_t &option = group.options[o];
            for (int c = 0; c < option.num_choices; ++c)
                visit(option, option.choices[c]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    std::unique_ptr<cups_file_t, CupsFileCloser> file(OpenInput(data, size));
    if (!file)
        return 0;
    std::unique_ptr<ppd_file_t, PPDCloser> ppd(ppdOpen2(file.get()));
    if (!ppd)
        return 0;
    const std::unique_ptr<UIConstraintTable> table = CreateUIConstraintTable(ppd.get());
    if (!table)
        std::abort();

    ppdMarkDefaults(ppd.get());
    int marked = 0;
    ForEachChoice(ppd.get(), [&](ppd_option_t &option, ppd_choice_t &choice) {
        IsPPDChoiceConflicted(ppd.get(), table.get(), option.keyword, choice.choice);
        if (marked++ < kMarkedChoicesLimit)
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

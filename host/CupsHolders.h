// Owners of what libcups hands out: option lists and destination lists.
#pragma once

#include <cups/cups.h>

namespace veltra {

struct CupsOptions
{
    int count = 0;
    cups_option_t *options = nullptr;
    CupsOptions() = default;
    CupsOptions(const CupsOptions &) = delete;
    CupsOptions &operator=(const CupsOptions &) = delete;
    ~CupsOptions() { cupsFreeOptions(count, options); }
};

// One destination (cupsGetNamedDest) or a list of them (cupsGetDests2).
struct CupsDests
{
    int count = 0;
    cups_dest_t *list = nullptr;
    CupsDests() = default;
    CupsDests(const CupsDests &) = delete;
    CupsDests &operator=(const CupsDests &) = delete;
    ~CupsDests() { cupsFreeDests(count, list); }
};

} // namespace veltra

// A ticket's CUPS options read back as the printer driver's filters read job options.
#pragma once

#include "CupsHolders.h"

#include <map>
#include <string>

using CupsOptionMap = std::map<std::string, std::string>;

inline CupsOptionMap ParseCupsOptions(const std::string &text)
{
    veltra::CupsOptions parsed;
    parsed.count = cupsParseOptions(text.c_str(), 0, &parsed.options);
    CupsOptionMap result;
    for (int i = 0; i < parsed.count; ++i)
        result[parsed.options[i].name] = parsed.options[i].value;
    return result;
}

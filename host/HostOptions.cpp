// Parsing veltra-print's command line and writing its usage text.
#include "HostOptions.h"

#include "CupsHolders.h"

#include <cups/cups.h>

#include <cstdlib>

namespace veltra {

namespace {

const PaneBatchOption *findPaneOption(const PaneBatchDriver *const *drivers,
                                      const std::string &name)
{
    for (; drivers && *drivers; ++drivers) {
        for (const PaneBatchOption *option = (*drivers)->options; option && option->name;
             ++option) {
            if (name == option->name)
                return option;
        }
    }
    return nullptr;
}

} // namespace

bool ParseHostOptions(const std::vector<std::string> &arguments, HostOptions *options,
                      std::string *error, const PaneBatchDriver *const *drivers)
{
    struct ValueOption
    {
        const char *name;
        std::string HostOptions::*field;
    };
    static const ValueOption valueOptions[] = {
        {"--bundle", &HostOptions::bundleDir},          {"--ppd", &HostOptions::ppdFile},
        {"--printer", &HostOptions::printerID},         {"--ticket-out", &HostOptions::ticketOut},
        {"--prefs-dir", &HostOptions::prefsDir},        {"--lang", &HostOptions::language},
        {"--screenshots", &HostOptions::screenshotDir},
    };
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };

    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "--batch") {
            options->batch = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options->help = true;
            continue;
        }
        if (argument == "-" || argument.empty() || argument[0] != '-') {
            options->files.push_back(argument);
            continue;
        }
        if (argument.size() >= 2 && argument[1] != '-' &&
            (argument[1] == 'd' || argument[1] == 'n' || argument[1] == 'o')) {
            // lp's short options, their value attached or the next word.
            const char letter = argument[1];
            std::string value = argument.substr(2);
            if (value.empty()) {
                if (i + 1 >= arguments.size())
                    return fail(std::string("the option -") + letter + " needs a value");
                value = arguments[++i];
            }
            if (letter == 'd') {
                options->destination = value;
            } else if (letter == 'n') {
                char *end = nullptr;
                const long copies = std::strtol(value.c_str(), &end, 10);
                if (*end || copies < 1 || copies > 9999)
                    return fail("the copies (-n) must be a number from 1 to 9999, not " + value);
                options->copies = int(copies);
            } else {
                CupsOptions parsed;
                parsed.count = cupsParseOptions(value.c_str(), 0, &parsed.options);
                for (int k = 0; k < parsed.count; ++k)
                    options->jobOptions.emplace_back(parsed.options[k].name,
                                                     parsed.options[k].value);
                if (parsed.count == 0)
                    return fail("the option -o needs NAME=VALUE, not " + value);
            }
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const ValueOption *match = nullptr;
        for (const ValueOption &option : valueOptions) {
            if (name == option.name)
                match = &option;
        }
        const PaneBatchOption *paneOption = name.size() > 2 && name.compare(0, 2, "--") == 0
                                                ? findPaneOption(drivers, name.substr(2))
                                                : nullptr;
        if (!match && !paneOption)
            return fail("unknown option " + argument);
        if (paneOption && !paneOption->argument) {
            if (equals != std::string::npos)
                return fail("the option " + name + " takes no value");
            options->paneValues[paneOption->name] = "yes";
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else {
            if (i + 1 >= arguments.size())
                return fail("the option " + name + " needs a value");
            value = arguments[++i];
        }
        if (match) {
            if (value.empty())
                return fail("the option " + name + " needs a value");
            options->*(match->field) = value;
        } else {
            // A pane's text may be empty on purpose (an empty passcode, say).
            options->paneValues[paneOption->name] = value;
        }
    }
    return true;
}

std::string HostUsage(const std::string &program, const PaneBatchDriver *const *drivers)
{
    std::string text =
        "Usage: " + program +
        " [-d DEST] [-n COPIES] [-o NAME=VALUE]... [--bundle DIR] [--ppd FILE]\n"
        "       [--printer ID] [--batch] [--ticket-out FILE] [--prefs-dir DIR] [--lang LANG]\n"
        "       [PANE OPTIONS] [FILE...]\n"
        "Opens the print dialog with the panes of the plug-in bundle for a printer. With -d the\n"
        "job goes to that CUPS queue (the FILEs, or standard input); without it the ticket's\n"
        "CUPS options are written out.\n"
        "  -d DEST            print to the CUPS destination DEST, with its PPD\n"
        "  -n COPIES          the number of copies\n"
        "  -o NAME=VALUE      a further job option, as lp takes it\n"
        "  --bundle DIR       the plug-in bundle (default: the one of the build tree)\n"
        "  --ppd FILE         the printer's PPD (default: the bundled sample printer)\n"
        "  --printer ID       the printer's identifier (default: from the PPD's file name)\n"
        "  --batch            off-screen: fill the panes from the pane options, press Print\n"
        "  --ticket-out FILE  write the ticket's CUPS options there (default: stdout)\n"
        "  --prefs-dir DIR    keep both preference stores in DIR\n"
        "  --lang LANG        language of the panes' texts (default: the system's)\n"
        "  --screenshots DIR  save a picture of each page and each window opened in DIR\n";
    bool heading = false;
    for (; drivers && *drivers; ++drivers) {
        for (const PaneBatchOption *option = (*drivers)->options; option && option->name;
             ++option) {
            if (!heading) {
                text += "Pane options (with --batch, worked in the panes as a user would):\n";
                heading = true;
            }
            std::string left = std::string("  --") + option->name;
            if (option->argument)
                left += std::string(" ") + option->argument;
            left.resize(std::max<size_t>(left.size() + 2, 21), ' ');
            text += left + option->help + '\n';
        }
    }
    text += "Exit status: 0 printed, 1 cancelled or refused by a pane, 2 usage error,\n"
            "3 CUPS or file error.\n";
    return text;
}

PaneBatchValues DriverValues(const PaneBatchDriver &driver, const HostOptions &options)
{
    PaneBatchValues values;
    for (const PaneBatchOption *option = driver.options; option && option->name; ++option) {
        const auto found = options.paneValues.find(option->name);
        if (found != options.paneValues.end())
            values.insert(*found);
    }
    return values;
}

} // namespace veltra

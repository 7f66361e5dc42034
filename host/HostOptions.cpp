#include "HostOptions.h"

namespace veltra {

bool ParseHostOptions(const std::vector<std::string> &arguments, HostOptions *options,
                      std::string *error)
{
    struct ValueOption
    {
        const char *name;
        std::string HostOptions::*field;
    };
    static const ValueOption valueOptions[] = {
        {"--bundle", &HostOptions::bundleDir},   {"--ppd", &HostOptions::ppdFile},
        {"--printer", &HostOptions::printerID},  {"--ticket-out", &HostOptions::ticketOut},
        {"--prefs-dir", &HostOptions::prefsDir}, {"--lang", &HostOptions::language},
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
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const ValueOption *match = nullptr;
        for (const ValueOption &option : valueOptions) {
            if (name == option.name)
                match = &option;
        }
        if (!match)
            return fail("unknown option " + argument);
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else {
            if (i + 1 >= arguments.size())
                return fail("the option " + name + " needs a value");
            value = arguments[++i];
        }
        if (value.empty())
            return fail("the option " + name + " needs a value");
        options->*(match->field) = value;
    }
    return true;
}

std::string HostUsage(const std::string &program)
{
    return "Usage: " + program +
           " [--bundle DIR] [--ppd FILE] [--printer ID] [--batch] [--ticket-out FILE]\n"
           "       [--prefs-dir DIR] [--lang LANG]\n"
           "Opens the print dialog with the panes of the plug-in bundle for a printer.\n"
           "  --bundle DIR       the plug-in bundle (default: the one of the build tree)\n"
           "  --ppd FILE         the printer's PPD (default: the bundled sample printer)\n"
           "  --printer ID       the printer's identifier (default: from the PPD's file name)\n"
           "  --batch            off-screen: press Print at once and write the ticket\n"
           "  --ticket-out FILE  write the ticket's CUPS options there (default: stdout)\n"
           "  --prefs-dir DIR    keep both preference stores in DIR\n"
           "  --lang LANG        language of the panes' texts (default: the system's)\n"
           "Exit status: 0 printed, 1 cancelled or held back by a pane, 2 error.\n";
}

} // namespace veltra

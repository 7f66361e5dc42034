// The command line of veltra-print.
#pragma once

#include "PaneBatch.h"

#include <string>
#include <utility>
#include <vector>

namespace veltra {

struct HostOptions
{
    std::string bundleDir;     // --bundle DIR: default the bundle of the build tree
    std::string ppdFile;       // --ppd FILE: default the bundled sample printer's PPD
    std::string printerID;     // --printer ID: default from the PPD's file name
    bool batch = false;        // --batch: off-screen, work the panes, press Print
    std::string ticketOut;     // --ticket-out FILE: default standard output
    std::string prefsDir;      // --prefs-dir DIR: both preference stores in DIR
    std::string language;      // --lang LANG: language of the bundle's strings
    bool help = false;         // --help
    std::string screenshotDir; // --screenshots DIR: pictures of each page and window there
    // In the style of lp:
    std::string destination; // -d DEST: print to that CUPS queue with the queue's PPD
    int copies = 1;          // -n COPIES
    std::vector<std::pair<std::string, std::string>> jobOptions; // -o NAME=VALUE...
    std::vector<std::string> files; // the documents; none: standard input
    // The panes' batch options given, by name without "--"; a flag holds "yes".
    PaneBatchValues paneValues;
};

// Parses the arguments after the program name ("--opt VALUE" or "--opt=VALUE"), the options of
// drivers included; false with *error set for an unknown option or a missing value.
bool ParseHostOptions(const std::vector<std::string> &arguments, HostOptions *options,
                      std::string *error,
                      const PaneBatchDriver *const *drivers = kPaneBatchDrivers);
// The usage text, with the options of drivers.
std::string HostUsage(const std::string &program,
                      const PaneBatchDriver *const *drivers = kPaneBatchDrivers);
// The values of options that are the driver's own.
PaneBatchValues DriverValues(const PaneBatchDriver &driver, const HostOptions &options);

} // namespace veltra

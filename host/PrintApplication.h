// veltra-print: a print dialog for one printer with the panes of a plug-in bundle. With
// --batch it presses Print at once and writes the ticket as CUPS job options.
#pragma once

#include "HostOptions.h"

#include <PrintCore/PrintHost.h>

#include <string>

namespace veltra {

enum HostExitStatus : int
{
    kHostPrinted = 0,
    kHostRefused = 1, // cancelled by the user, or refused or held back by a pane
    kHostUsage = 2,   // the command line is wrong
    kHostFailed = 3,  // CUPS, the bundle, a PPD or a file failed
};

// Before the QApplication exists: with --batch, or when there is no display at all
// (DISPLAY and WAYLAND_DISPLAY unset and no QT_QPA_PLATFORM chosen), selects the off-screen
// platform; without a display it also turns batch mode on. Answers what it did, for stderr
// (empty when nothing changed).
std::string ChooseDisplayMode(HostOptions *options);

// Runs the dialog (a QApplication must exist) and answers the exit status. Messages go to
// stderr prefixed with "veltra-print: "; the ticket goes to stdout or --ticket-out. In batch
// mode drivers work the panes of their kinds and answer their windows.
int RunPrintApplication(const HostOptions &options,
                        const PaneBatchDriver *const *drivers = kPaneBatchDrivers);

// The ticket's CUPS options, one "key=value" per line, values quoted as cupsParseOptions
// reads them.
std::string FormatTicketOptions(const PrintTicket &ticket);

} // namespace veltra

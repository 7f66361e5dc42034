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
    kHostCancelled = 1, // cancelled by the user, or the Print command held back by a pane
    kHostError = 2,
};

// Before the QApplication exists: with --batch, or when there is no display at all
// (DISPLAY and WAYLAND_DISPLAY unset and no QT_QPA_PLATFORM chosen), selects the off-screen
// platform; without a display it also turns batch mode on. Answers what it did, for stderr
// (empty when nothing changed).
std::string ChooseDisplayMode(HostOptions *options);

// Runs the dialog (a QApplication must exist) and answers the exit status. Messages go to
// stderr prefixed with "veltra-print: "; the ticket goes to stdout or --ticket-out.
int RunPrintApplication(const HostOptions &options);

// The ticket's CUPS options, one "key=value" per line, values quoted as cupsParseOptions
// reads them.
std::string FormatTicketOptions(const PrintTicket &ticket);

} // namespace veltra

// Batch drivers: with --batch, veltra-print works each pane's widgets the way a user would
// (real key and mouse events, so every key filter, check and constraint applies) before it
// presses Print, and answers the windows a pane opens while Print runs. Each pane's driver
// lives in a file of its own and is listed in PaneBatch.cpp.
#pragma once

#include <HIToolbox/MacWindows.h>

#include <map>
#include <string>

class QString;
class QWidget;

namespace veltra {

struct PaneBatchOption
{
    const char *name;     // without the leading "--", e.g. "print-type"
    const char *argument; // shown in --help, e.g. "none|secure|sample"; null for a flag
    const char *help;     // one line for --help
};

// The options of one driver given on the command line, by name; a flag holds "yes".
using PaneBatchValues = std::map<std::string, std::string>;

struct PaneBatchDriver
{
    const char *paneKind;           // the pane's kind, e.g. "com.veltra.kzu.pde.PrintTypeKind"
    const PaneBatchOption *options; // ends with an entry whose name is null
    // Works the pane's widgets (the pane is shown in the dialog window). Answers false with
    // *error set to the message the user would have seen when the pane refused a value.
    bool (*fill)(WindowRef dialog, QWidget *pane, const PaneBatchValues &values,
                 std::string *error);
    // Called when a modal loop starts, during fill or Print, for a window of the pane's
    // (windowName is the .ui window's name). Answers true when it has answered the window
    // (clicked its OK or Cancel); false leaves the window to the host, which reports an
    // alert's message text on stderr and presses its OK, and closes any other window.
    bool (*answer)(WindowRef window, const QString &windowName, const PaneBatchValues &values);
};

// Every driver, ending with null.
extern const PaneBatchDriver *const kPaneBatchDrivers[];

// The driver of the pane kind, or null.
const PaneBatchDriver *FindPaneBatchDriver(const std::string &paneKind);

} // namespace veltra

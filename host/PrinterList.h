// The printers the dialog offers: the local CUPS destinations and the bundled sample printers.
#pragma once

#include <PrintCore/PrintHost.h>

#include <string>
#include <vector>

namespace veltra {

struct PrinterChoice
{
    std::string id;          // the printer identifier the panes keep their values under
    std::string label;       // what the printer chooser shows
    std::string destination; // the CUPS queue; empty for a sample printer
    std::string ppdFile;     // a sample printer's description; a queue's comes from CUPS
};

// The CUPS destinations (default first), then a sample printer for each PPD in sampleDir.
// When CUPS cannot be asked, *cupsMessage says why and only the sample printers are listed.
std::vector<PrinterChoice> ListPrinters(const std::string &sampleDir, std::string *cupsMessage);

// The sample printer of one PPD file.
PrinterChoice SamplePrinter(const std::string &ppdFile);

// Opens the printer's description: the sample's file, or the queue's PPD fetched from CUPS.
// Null with *error set when there is none or libcups cannot read it.
PPDFile OpenPrinterPPD(const PrinterChoice &printer, std::string *error);

} // namespace veltra

// Printer descriptions for the PPD tests: small ones written inline, and real ones of Ricoh,
// Kyocera, Lexmark and Sharp printers taken from the system's openprinting-ppds driver.
#pragma once

#include <PrintCore/PrintHost.h>

#include <string>

namespace ppdtest {

// A minimal description around the given lines (options, attributes, header keywords).
std::string MinimalPPD(const std::string &body);

// Writes text to a temporary file and opens it with libcups; fails the test and answers null
// when libcups refuses it.
veltra::PPDFile OpenInlinePPD(const std::string &text);

struct RealPPD
{
    const char *name; // short name used in test output
    const char *uri;  // the driver's URI for it
};

// The real descriptions the tests read (all declare LanguageEncoding ISOLatin1).
extern const RealPPD kKyoceraFrench;
extern const RealPPD kRicoh;
extern const RealPPD kLexmark;
extern const RealPPD kSharp;

// The path of the real description, extracted from the driver into the build tree on first
// use; empty (with a test failure naming the cause) when the driver cannot supply it.
std::string RealPPDPath(const RealPPD &ppd);
veltra::PPDFile OpenRealPPD(const RealPPD &ppd);

} // namespace ppdtest

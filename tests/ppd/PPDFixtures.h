// Printer descriptions for the PPD and constraint tests: small ones written here, and real ones
// of Kyocera, Sharp, Ricoh and Lexmark printers taken from the system's openprinting-ppds driver.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PrintHost.h>

#include <string>

namespace ppdtest {

// A minimal description around the given lines (options, attributes, header keywords).
std::string MinimalPPD(const std::string &body);
// Writes text to a file of the test's temporary directory and answers its path.
std::string WritePPD(const std::string &text, const std::string &name = "inline.ppd");
// Opens MinimalPPD(body) with libcups; fails the test and answers null when libcups refuses it.
veltra::PPDFile OpenInlinePPD(const std::string &body);

struct RealPPD
{
    const char *name; // short name used in test output
    const char *uri;  // the driver's URI for it
};
// All declare LanguageEncoding ISOLatin1. The last four are among the largest descriptions the
// driver has, with hundreds of constraints.
enum RealPPDIndex
{
    kKyoceraFrench,
    kSharp,
    kRealPPDCount = 6
};
extern const RealPPD kRealPPDs[kRealPPDCount];

// The path of the real description, extracted from the driver into the build tree on first
// use; empty (with a test failure naming the cause) when the driver cannot supply it.
std::string RealPPDPath(const RealPPD &ppd);
veltra::PPDFile OpenRealPPD(const RealPPD &ppd);

// Takes over a Create/Copy result and answers its UTF-8 text; "<null>" for a null string.
std::string Utf8Owned(CFStringRef str);

} // namespace ppdtest

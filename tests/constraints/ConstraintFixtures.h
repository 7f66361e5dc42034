// Printer descriptions for the constraint table tests: small ones written inline and the
// largest Ricoh, Kyocera, Lexmark and Sharp descriptions of the openprinting-ppds driver.
#pragma once

#include <PrintCore/PrintHost.h>

#include <ostream>
#include <string>

namespace ctest {

// A description with the header keywords libcups needs, followed by body.
std::string PPDText(const std::string &body);
// Writes text to a file of the test's temporary directory and answers its path.
std::string WritePPD(const std::string &text, const std::string &name = "test.ppd");
// Opens text with libcups; fails the test and answers null when libcups refuses it.
veltra::PPDFile OpenPPDText(const std::string &body);

struct RealPPD
{
    const char *name; // short name for test output
    const char *uri;  // the driver's URI for it
};
extern const RealPPD kRealPPDs[4];
inline void PrintTo(const RealPPD &ppd, std::ostream *out)
{
    *out << ppd.name;
}

// The real description, extracted from the driver into the build tree once; null with a test
// failure naming the cause when the driver cannot supply it.
std::string RealPPDPath(const RealPPD &ppd);
veltra::PPDFile OpenRealPPD(const RealPPD &ppd);

} // namespace ctest

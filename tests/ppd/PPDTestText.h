// CF-style strings as UTF-8 for comparisons in the PPD tests.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <string>

namespace ppdtest {

// The UTF-8 text of str; "<null>" for a null string so that a missing title shows in output.
inline std::string Utf8(CFStringRef str)
{
    if (!str)
        return "<null>";
    char buffer[1024];
    if (!CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingUTF8))
        return "<not convertible>";
    return buffer;
}

// Takes over a Create/Copy result and answers its text.
inline std::string Utf8Owned(CFStringRef str)
{
    CFRef<CFStringRef> holder(str);
    return Utf8(holder);
}

} // namespace ppdtest

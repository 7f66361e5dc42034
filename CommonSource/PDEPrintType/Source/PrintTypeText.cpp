// Localised texts of the print type pane with numbers put in place.
#include "PrintTypeText.h"

#include <CoreFoundation/CFRef.h>

#include <cstdio>
#include <vector>

namespace {

constexpr char kPasscodeRange[] = "0 to 12";
constexpr int kPasscodeMaxDigits = 12;

} // namespace

std::string LocalizedUTF8(CFBundleRef bundle, CFStringRef key)
{
    if (!bundle || !key)
        return {};
    CFRef<CFStringRef> text(CFBundleCopyLocalizedString(bundle, key, key, nullptr));
    CFStringRef source = text ? text.get() : key;
    std::vector<char> buffer(size_t(CFStringGetMaximumSizeForEncoding(CFStringGetLength(source),
                                                                      kCFStringEncodingUTF8)) +
                             1);
    if (!CFStringGetCString(source, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8))
        return {};
    return buffer.data();
}

CFStringRef CreateStringWithUTF8(const std::string &text)
{
    return CFStringCreateWithBytes(kCFAllocatorDefault,
                                   reinterpret_cast<const UInt8 *>(text.data()),
                                   CFIndex(text.size()), kCFStringEncodingUTF8, false);
}

bool ReplacePasscodeRange(std::string &text, int minimum)
{
    const size_t at = text.find(kPasscodeRange);
    if (at == std::string::npos)
        return false;
    char range[32];
    snprintf(range, sizeof range, "%d to %d", minimum, kPasscodeMaxDigits);
    text.replace(at, sizeof kPasscodeRange - 1, range);
    return true;
}

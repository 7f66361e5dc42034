// The bundle reference and the nib and help names of both panes.
#include "AppResources.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kNibPrefixJBA[] = "OrvPrintJBA_";
const char kHelpPrefixJBA[] = "JBA_";
const char kNibPrefixPrintType[] = "OrvPrintType_";
const char kHelpPrefixPrintType[] = "SelectJobType_";
// A full resource name and its NUL.
constexpr size_t kResourceNameSize = 255;

CFStringRef CreateFullResourceName(CFStringRef name, int kind, const char *nibPrefix,
                                   const char *helpPrefix)
{
    if (!name)
        return nullptr;
    const char *prefix = kind == 0 ? nibPrefix : kind == 1 ? helpPrefix : "";
    char buffer[kResourceNameSize] = {};
    const size_t prefixLength = strlen(prefix);
    memcpy(buffer, prefix, prefixLength);
    if (!CFStringGetCString(name, buffer + prefixLength, CFIndex(sizeof buffer - prefixLength),
                            kCFStringEncodingUTF8))
        return nullptr;
    return CFStringCreateWithCString(kCFAllocatorDefault, buffer, kCFStringEncodingUTF8);
}

const void *RetainEncodeEntry(CFAllocatorRef, const void *value)
{
    return value;
}

void ReleaseEncodeEntry(CFAllocatorRef, const void *value)
{
    free(const_cast<void *>(value));
}

const CFArrayCallBacks kEncodeArrayCallBacks = {0, RetainEncodeEntry, ReleaseEncodeEntry, nullptr,
                                                nullptr};

} // namespace

CFBundleRef GetAppBundleRef()
{
    return CFBundleGetBundleWithIdentifier(CFSTR("com.veltra.kzu.pde.Account2"));
}

CFStringRef GetAppClientID()
{
    return CFSTR("com.veltra.kzu.AccountKind");
}

CFStringRef CopyLocalizedText(CFBundleRef bundle, CFStringRef key)
{
    return key ? CFBundleCopyLocalizedString(bundle, key, key, nullptr) : nullptr;
}

CFStringRef GetPDENibFileNameJBA()
{
    return CFSTR("OrvPrintJBA_Printer01");
}

CFStringRef GetPDENibFileName()
{
    return CFSTR("OrvPrintType_Printer00");
}

CFStringRef GetAppResourceName(char *value, int part)
{
    if (!value)
        return nullptr;
    const char *hyphen = strchr(value, '-');
    if (part == 0) {
        const size_t length = hyphen ? size_t(hyphen - value) : strlen(value);
        return CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8 *>(value),
                                       CFIndex(length), kCFStringEncodingUTF8, false);
    }
    return CFStringCreateWithCString(kCFAllocatorDefault, hyphen ? hyphen + 1 : "",
                                     kCFStringEncodingUTF8);
}

CFStringRef GetAppFullResourceNameJBA(CFStringRef name, int kind)
{
    return CreateFullResourceName(name, kind, kNibPrefixJBA, kHelpPrefixJBA);
}

CFStringRef GetAppFullResourceNamePrintType(CFStringRef name, int kind)
{
    return CreateFullResourceName(name, kind, kNibPrefixPrintType, kHelpPrefixPrintType);
}

CFMutableArrayRef CreateEncodeArray()
{
    return CFArrayCreateMutable(kCFAllocatorDefault, 0, &kEncodeArrayCallBacks);
}

void AddControlToEncodeArray(ControlID *, unsigned long signature, long id, CFMutableArrayRef list)
{
    if (!list)
        return;
    auto *entry = static_cast<ControlID *>(malloc(sizeof(ControlID)));
    if (!entry)
        return;
    entry->signature = OSType(signature);
    entry->id = SInt32(id);
    CFArrayAppendValue(list, entry);
}

// The panes' strings cross between C text and platform strings as UTF-8.
static CFStringEncoding currentPDEEncoding = kCFStringEncodingUTF8;

CFStringEncoding GetCurrentPDEEncoding()
{
    return currentPDEEncoding;
}

CFStringEncoding GetCurrentPDEEncodingJBA()
{
    return currentPDEEncoding;
}

void SetPreferenceUserOfRecords(ControlAccessInfo *const *records, CFStringRef user)
{
    for (; records && *records; ++records) {
        if ((*records)->preferenceKey)
            (*records)->preferenceUser = user;
    }
}

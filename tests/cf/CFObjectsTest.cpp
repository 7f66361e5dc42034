// Collections, numbers and identifiers as the preferences, property lists and plug-in loading
// use them: who owns a value, the order keys were written in, values that do not fit, UUID text.
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFRef.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "CoreFoundation/CFUUID.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CFRef<CFStringRef> makeString(const char *text)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
}

std::string textOf(CFStringRef str)
{
    char buffer[256];
    return CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "";
}

TEST(CFCollections, HoldWhatTheyRetainAndKeepKeysInWritingOrder)
{
    CFRef<CFStringRef> value = makeString("value");
    {
        CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
        CFArrayAppendValue(array, value);
        CFArrayAppendValue(array, value);
        EXPECT_EQ(CFGetRetainCount(value), 3);
        CFArrayRemoveValueAtIndex(array, 0);
        EXPECT_EQ(CFGetRetainCount(value), 2);
        EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), nullptr);
        EXPECT_EQ(CFArrayGetValueAtIndex(array, -1), nullptr);
    }
    EXPECT_EQ(CFGetRetainCount(value), 1) << "the array released its values when freed";

    CFRef<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    const char *keys[] = {"zeta", "alpha", "mid"};
    for (const char *key : keys)
        CFDictionarySetValue(dict, makeString(key), value);
    EXPECT_EQ(CFGetRetainCount(value), 4);
    // Another object with the same text finds the entry; case matters.
    EXPECT_TRUE(CFDictionaryContainsKey(dict, makeString("alpha")));
    EXPECT_FALSE(CFDictionaryContainsKey(dict, CFSTR("Mid")));
    // Replacing keeps the place; removing closes the gap.
    CFDictionarySetValue(dict, CFSTR("zeta"), CFSTR("replaced"));
    CFDictionaryRemoveValue(dict, CFSTR("alpha"));
    std::vector<const void *> gotKeys(2);
    ASSERT_EQ(CFDictionaryGetCount(dict), 2);
    CFDictionaryGetKeysAndValues(dict, gotKeys.data(), nullptr);
    EXPECT_EQ(textOf(static_cast<CFStringRef>(gotKeys[0])), "zeta");
    EXPECT_EQ(textOf(static_cast<CFStringRef>(gotKeys[1])), "mid");
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(dict, CFSTR("zeta")), CFSTR("replaced")));
    dict.reset();
    EXPECT_EQ(CFGetRetainCount(value), 1);
}

TEST(CFNumbers, ValuesConvertAndReportWhatDoesNotFit)
{
    const SInt64 big = 5000000000LL;
    CFRef<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt64Type, &big));
    SInt32 asInt = 0;
    EXPECT_FALSE(CFNumberGetValue(number, kCFNumberSInt32Type, &asInt)) << "does not fit";
    SInt64 asLong = 0;
    EXPECT_TRUE(CFNumberGetValue(number, kCFNumberSInt64Type, &asLong));
    EXPECT_EQ(asLong, big);

    const double half = 2.5;
    CFRef<CFNumberRef> fraction(CFNumberCreate(nullptr, kCFNumberFloat64Type, &half));
    long truncated = 0;
    EXPECT_FALSE(CFNumberGetValue(fraction, kCFNumberLongType, &truncated));
    EXPECT_EQ(truncated, 2) << "the truncated value is stored anyway";

    // Equal values are equal whatever their type; a string or a boolean never is.
    const SInt32 two = 2;
    const double twoDouble = 2.0;
    CFRef<CFNumberRef> a(CFNumberCreate(nullptr, kCFNumberSInt32Type, &two));
    CFRef<CFNumberRef> b(CFNumberCreate(nullptr, kCFNumberFloat64Type, &twoDouble));
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_EQ(CFHash(a), CFHash(b));
    EXPECT_FALSE(CFEqual(a, fraction));
    EXPECT_FALSE(CFEqual(a, CFSTR("2")));
    EXPECT_FALSE(CFEqual(a, kCFBooleanTrue));
    EXPECT_FALSE(CFNumberCreate(nullptr, kCFNumberSInt32Type, nullptr));
}

TEST(CFUUIDs, TextInEitherCaseNamesOneUUIDAndMalformedTextNone)
{
    CFRef<CFUUIDRef> upper(
        CFUUIDCreateFromString(nullptr, CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")));
    CFRef<CFUUIDRef> lower(
        CFUUIDCreateFromString(nullptr, CFSTR("bdb091f4-e57f-11d3-b5cc-0050e4603277")));
    ASSERT_TRUE(upper);
    EXPECT_TRUE(CFEqual(upper, lower));
    EXPECT_EQ(CFHash(upper), CFHash(lower));
    EXPECT_EQ(textOf(CFRef<CFStringRef>(CFUUIDCreateString(nullptr, lower))),
              "BDB091F4-E57F-11D3-B5CC-0050E4603277");
    CFUUIDBytes bytes = CFUUIDGetUUIDBytes(lower);
    EXPECT_EQ(bytes.byte0, 0xBD);
    EXPECT_EQ(bytes.byte15, 0x77);
    EXPECT_TRUE(CFEqual(CFRef<CFUUIDRef>(CFUUIDCreateFromUUIDBytes(nullptr, bytes)), upper));
    bytes.byte15 = 0x78;
    EXPECT_FALSE(CFEqual(CFRef<CFUUIDRef>(CFUUIDCreateFromUUIDBytes(nullptr, bytes)), upper));
    EXPECT_EQ(CFUUIDGetConstantUUIDWithBytes(nullptr, 0xBD, 0xB0, 0x91, 0xF4, 0xE5, 0x7F, 0x11,
                                             0xD3, 0xB5, 0xCC, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77),
              CFUUIDGetConstantUUIDWithBytes(nullptr, 0xBD, 0xB0, 0x91, 0xF4, 0xE5, 0x7F, 0x11,
                                             0xD3, 0xB5, 0xCC, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77))
        << "one constant object per value";

    const char *malformed[] = {
        "",
        "BDB091F4-E57F-11D3-B5CC-0050E460327",    // one digit short
        "BDB091F4-E57F-11D3-B5CC-0050E46032777",  // one digit long
        "BDB091F4E57F-11D3-B5CC-0050E4603277-",   // hyphen misplaced
        "BDB091F4-E57F-11D3-B5CC-0050E460327G",   // not hexadecimal
        "{BDB091F4-E57F-11D3-B5CC-0050E4603277}", // braces
    };
    for (const char *text : malformed)
        EXPECT_FALSE(CFRef<CFUUIDRef>(CFUUIDCreateFromString(nullptr, makeString(text)))) << text;
}

TEST(CFURLs, FileSystemPathsComeBackCleanIntoBuffersWithRoom)
{
    const struct
    {
        const char *path;
        const char *expected;
    } cases[] = {
        {"/opt/VeltraPDE.plugin/", "/opt/VeltraPDE.plugin"},
        {"/opt//VeltraPDE.plugin/Contents/../Contents/Info.plist",
         "/opt/VeltraPDE.plugin/Contents/Info.plist"},
        {"/", "/"},
        {"/tmp/\xE3\x83\x97\xE3\x83\xAA", "/tmp/\xE3\x83\x97\xE3\x83\xAA"},
    };
    for (const auto &c : cases) {
        CFRef<CFURLRef> url(
            CFURLCreateWithFileSystemPath(nullptr, makeString(c.path), kCFURLPOSIXPathStyle, true));
        ASSERT_TRUE(url) << c.path;
        EXPECT_EQ(textOf(CFRef<CFStringRef>(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle))),
                  c.expected);
        UInt8 buffer[256];
        ASSERT_TRUE(CFURLGetFileSystemRepresentation(url, true, buffer, sizeof buffer));
        EXPECT_STREQ(reinterpret_cast<char *>(buffer), c.expected);
    }
    CFRef<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/abc"), kCFURLPOSIXPathStyle, false));
    UInt8 buffer[8];
    EXPECT_FALSE(CFURLGetFileSystemRepresentation(url, true, buffer, 4));
    EXPECT_TRUE(CFURLGetFileSystemRepresentation(url, true, buffer, 5));
    EXPECT_FALSE(CFURLCreateWithFileSystemPath(nullptr, CFSTR(""), kCFURLPOSIXPathStyle, false));
}

} // namespace

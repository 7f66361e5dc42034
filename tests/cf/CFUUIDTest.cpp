// UUIDs naming plug-in factories and interfaces, and file URLs of bundle resources.
#include "CoreFoundation/CFUUID.h"
#include "CoreFoundation/CFPlugInCOM.h"
#include "CoreFoundation/CFRef.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

TEST(CFUUIDTest, TextInEitherCaseMakesEqualUUIDs)
{
    CFRef<CFUUIDRef> upper(
        CFUUIDCreateFromString(nullptr, CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")));
    CFRef<CFUUIDRef> lower(
        CFUUIDCreateFromString(nullptr, CFSTR("bdb091f4-e57f-11d3-b5cc-0050e4603277")));
    ASSERT_TRUE(upper);
    ASSERT_TRUE(lower);
    EXPECT_TRUE(CFEqual(upper, lower));
    EXPECT_EQ(CFHash(upper), CFHash(lower));
    EXPECT_EQ(CFGetTypeID(upper), CFUUIDGetTypeID());

    const CFUUIDBytes bytes = CFUUIDGetUUIDBytes(lower);
    EXPECT_EQ(bytes.byte0, 0xBD);
    EXPECT_EQ(bytes.byte15, 0x77);
    EXPECT_EQ(textOf(CFRef<CFStringRef>(CFUUIDCreateString(nullptr, lower))),
              "BDB091F4-E57F-11D3-B5CC-0050E4603277");
}

TEST(CFUUIDTest, MalformedTextMakesNoUUID)
{
    const char *malformed[] = {
        "",
        "BDB091F4-E57F-11D3-B5CC-0050E460327",    // one digit short
        "BDB091F4-E57F-11D3-B5CC-0050E46032777",  // one digit long
        "BDB091F4E57F-11D3-B5CC-0050E4603277-",   // hyphen misplaced
        "BDB091F4-E57F-11D3-B5CC-0050E460327G",   // not hexadecimal
        "{BDB091F4-E57F-11D3-B5CC-0050E4603277}", // braces
        " BDB091F4-E57F-11D3-B5CC-0050E460327",
        "BDB091F4-E57F-11D3-B5CC\xE2\x80\x93"
        "0050E4603277", // en dash
    };
    for (const char *text : malformed)
        EXPECT_FALSE(CFRef<CFUUIDRef>(CFUUIDCreateFromString(nullptr, makeString(text)))) << text;
    EXPECT_FALSE(CFUUIDCreateFromString(nullptr, nullptr));
}

TEST(CFUUIDTest, BytesAndTextNameTheSameUUID)
{
    CFUUIDBytes bytes = {0xBD, 0xB0, 0x91, 0xF4, 0xE5, 0x7F, 0x11, 0xD3,
                         0xB5, 0xCC, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77};
    CFRef<CFUUIDRef> fromBytes(CFUUIDCreateFromUUIDBytes(nullptr, bytes));
    CFRef<CFUUIDRef> fromText(
        CFUUIDCreateFromString(nullptr, CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")));
    EXPECT_TRUE(CFEqual(fromBytes, fromText));
    bytes.byte15 = 0x78;
    CFRef<CFUUIDRef> other(CFUUIDCreateFromUUIDBytes(nullptr, bytes));
    EXPECT_FALSE(CFEqual(fromBytes, other));
    EXPECT_FALSE(CFEqual(fromBytes, CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")));
}

TEST(CFUUIDTest, ConstantUUIDsAreOneImmortalObjectPerValue)
{
    CFUUIDRef first =
        CFUUIDGetConstantUUIDWithBytes(nullptr, 0xBD, 0xB0, 0x91, 0xF4, 0xE5, 0x7F, 0x11, 0xD3,
                                       0xB5, 0xCC, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77);
    CFUUIDRef second =
        CFUUIDGetConstantUUIDWithBytes(nullptr, 0xBD, 0xB0, 0x91, 0xF4, 0xE5, 0x7F, 0x11, 0xD3,
                                       0xB5, 0xCC, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77);
    EXPECT_EQ(first, second);
    const CFIndex count = CFGetRetainCount(first);
    CFRelease(first);
    EXPECT_EQ(CFGetRetainCount(first), count);
    CFRef<CFUUIDRef> created(
        CFUUIDCreateFromString(nullptr, CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")));
    EXPECT_TRUE(CFEqual(first, created));
}

TEST(CFUUIDTest, IUnknownHasItsWellKnownIdentifier)
{
    CFUUIDRef iunknown = IUnknownUUID();
    ASSERT_TRUE(iunknown);
    EXPECT_EQ(iunknown, IUnknownUUID());
    EXPECT_EQ(textOf(CFRef<CFStringRef>(CFUUIDCreateString(nullptr, iunknown))),
              "00000000-0000-0000-C000-000000000046");
}

TEST(CFURLTest, FileSystemPathsComeBackClean)
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
        {"/tmp/\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF",
         "/tmp/\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF"},
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
}

TEST(CFURLTest, RepresentationNeedsRoomForThePathAndItsNUL)
{
    CFRef<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/abc"), kCFURLPOSIXPathStyle, false));
    UInt8 buffer[8];
    EXPECT_FALSE(CFURLGetFileSystemRepresentation(url, true, buffer, 4));
    EXPECT_TRUE(CFURLGetFileSystemRepresentation(url, true, buffer, 5));
    EXPECT_FALSE(CFURLCreateWithFileSystemPath(nullptr, CFSTR(""), kCFURLPOSIXPathStyle, false));
    CFRef<CFURLRef> same(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/abc/"), kCFURLPOSIXPathStyle, false));
    EXPECT_TRUE(CFEqual(url, same));
    EXPECT_EQ(CFGetTypeID(url), CFURLGetTypeID());
}

} // namespace

// Core Foundation as preferences, PPD code, ticket and plug-in loading use it: ownership, key
// order, numbers, UUID and path text, damaged UTF-8, the PPDs' legacy encodings, fixed buffers.
#include <CoreFoundation/CFQt.h>
#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

CFRef<CFStringRef> Str(const char *text, CFStringEncoding encoding = kCFStringEncodingUTF8)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, text, encoding));
}

// The text copied into size bytes; "<none>" when it does not convert or fit (leaving "").
std::string Utf8(CFStringRef str, CFStringEncoding encoding = kCFStringEncodingUTF8, int size = 64)
{
    char buffer[64] = "#";
    return CFStringGetCString(str, buffer, size, encoding) ? buffer
           : buffer[0]                                     ? "<dirty>"
                                                           : "<none>";
}

TEST(CFValues, CollectionsHoldWhatTheyRetainInWritingOrderAndNumbersCompareAcrossTypes)
{
    CFRef<CFStringRef> value = Str("value");
    CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFArrayAppendValue(array, value);
    CFArrayAppendValue(array, value);
    EXPECT_EQ(CFGetRetainCount(value), 3);
    CFArrayRemoveValueAtIndex(array, 0);
    EXPECT_EQ(CFGetRetainCount(value), 2);
    EXPECT_FALSE(CFArrayGetValueAtIndex(array, 1) || CFArrayGetValueAtIndex(array, -1));
    array.reset();
    EXPECT_EQ(CFGetRetainCount(value), 1) << "the array released its values when freed";
    CFRef<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    for (const char *key : {"zeta", "alpha", "mid"})
        CFDictionarySetValue(dict, Str(key), value);
    EXPECT_EQ(CFGetRetainCount(value), 4);
    EXPECT_TRUE(CFDictionaryContainsKey(dict, Str("alpha")));
    EXPECT_FALSE(CFDictionaryContainsKey(dict, CFSTR("Mid")));
    CFDictionarySetValue(dict, CFSTR("zeta"), CFSTR("replaced")); // keeps its place
    CFDictionaryRemoveValue(dict, CFSTR("alpha"));
    const void *keys[2] = {};
    ASSERT_EQ(CFDictionaryGetCount(dict), 2);
    CFDictionaryGetKeysAndValues(dict, keys, nullptr);
    EXPECT_EQ(Utf8(CFStringRef(keys[0])) + " " + Utf8(CFStringRef(keys[1])), "zeta mid");
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(dict, CFSTR("zeta")), CFSTR("replaced")));
    dict.reset();
    EXPECT_EQ(CFGetRetainCount(value), 1);

    const SInt64 big = 5000000000LL;
    const double half = 2.5, twoDouble = 2.0;
    const SInt32 two = 2;
    CFRef<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt64Type, &big));
    CFRef<CFNumberRef> fraction(CFNumberCreate(nullptr, kCFNumberFloat64Type, &half));
    CFRef<CFNumberRef> a(CFNumberCreate(nullptr, kCFNumberSInt32Type, &two));
    CFRef<CFNumberRef> b(CFNumberCreate(nullptr, kCFNumberFloat64Type, &twoDouble));
    SInt64 out = 0;
    EXPECT_FALSE(CFNumberGetValue(number, kCFNumberSInt32Type, &out));
    EXPECT_TRUE(CFNumberGetValue(number, kCFNumberSInt64Type, &out));
    EXPECT_EQ(out, big);
    EXPECT_FALSE(CFNumberGetValue(fraction, kCFNumberLongType, &out));
    EXPECT_EQ(out, 2) << "the truncated value is stored anyway";
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_EQ(CFHash(a), CFHash(b));
    EXPECT_FALSE(CFEqual(a, fraction));
    EXPECT_FALSE(CFEqual(a, CFSTR("2")));
    EXPECT_FALSE(CFEqual(a, kCFBooleanTrue));
    EXPECT_FALSE(CFNumberCreate(nullptr, kCFNumberSInt32Type, nullptr));
}

TEST(CFIdentifiers, UUIDTextInEitherCaseNamesOneUUIDAndPathsComeBackClean)
{
    CFRef<CFUUIDRef> up(
        CFUUIDCreateFromString(nullptr, CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")));
    CFRef<CFUUIDRef> lo(
        CFUUIDCreateFromString(nullptr, CFSTR("bdb091f4-e57f-11d3-b5cc-0050e4603277")));
    EXPECT_TRUE(CFEqual(up, lo));
    EXPECT_EQ(CFHash(up), CFHash(lo));
    EXPECT_EQ(Utf8(CFRef<CFStringRef>(CFUUIDCreateString(nullptr, lo))),
              "BDB091F4-E57F-11D3-B5CC-0050E4603277");
    CFUUIDBytes bytes = CFUUIDGetUUIDBytes(lo);
    EXPECT_EQ(bytes.byte0 * 256 + bytes.byte15, 0xBD77);
    EXPECT_TRUE(CFEqual(CFRef<CFUUIDRef>(CFUUIDCreateFromUUIDBytes(nullptr, bytes)), up));
    bytes.byte15 = 0x78;
    EXPECT_FALSE(CFEqual(CFRef<CFUUIDRef>(CFUUIDCreateFromUUIDBytes(nullptr, bytes)), up));
    auto constant = [] {
        return CFUUIDGetConstantUUIDWithBytes(nullptr, 0xBD, 0xB0, 0x91, 0xF4, 0xE5, 0x7F, 0x11,
                                              0xD3, 0xB5, 0xCC, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77);
    };
    EXPECT_EQ(constant(), constant()) << "one constant object per value";
    for (const char *text :
         {"", "BDB091F4-E57F-11D3-B5CC-0050E460327", "BDB091F4-E57F-11D3-B5CC-0050E46032777",
          "BDB091F4E57F-11D3-B5CC-0050E4603277-", "BDB091F4-E57F-11D3-B5CC-0050E460327G",
          "{BDB091F4-E57F-11D3-B5CC-0050E4603277}"})
        EXPECT_FALSE(CFRef<CFUUIDRef>(CFUUIDCreateFromString(nullptr, Str(text)))) << text;

    const std::pair<const char *, const char *> cases[] = {
        {"/opt/VeltraPDE.plugin/", "/opt/VeltraPDE.plugin"},
        {"/opt//X.plugin/Contents/../Contents/Info.plist", "/opt/X.plugin/Contents/Info.plist"},
        {"/", "/"},
        {"/tmp/\xE3\x83\x97\xE3\x83\xAA", "/tmp/\xE3\x83\x97\xE3\x83\xAA"}};
    for (const auto &[path, expected] : cases) {
        CFRef<CFURLRef> url(
            CFURLCreateWithFileSystemPath(nullptr, Str(path), kCFURLPOSIXPathStyle, true));
        EXPECT_EQ(Utf8(CFRef<CFStringRef>(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle))),
                  expected);
        UInt8 buffer[64];
        const CFIndex size = CFIndex(std::string(expected).size()) + 1;
        EXPECT_FALSE(CFURLGetFileSystemRepresentation(url, true, buffer, size - 1)) << path;
        ASSERT_TRUE(CFURLGetFileSystemRepresentation(url, true, buffer, size)) << path;
        EXPECT_STREQ((char *)buffer, expected);
    }
    EXPECT_FALSE(CFURLCreateWithFileSystemPath(nullptr, CFSTR(""), kCFURLPOSIXPathStyle, false));
}

TEST(CFStrings, DamagedUTF8IsRefusedLegacyEncodingsConvertBothWaysAndBuffersNeedRoom)
{
    // プリンタ and a surrogate pair; lengths are UTF-16 units.
    for (const char *utf8 :
         {"", "caf\xC3\xA9 \xE2\x82\xAC", "\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF",
          "a\xF0\x9F\x98\x80z"}) {
        CFRef<CFStringRef> str = Str(utf8);
        EXPECT_EQ(CFStringGetLength(str), QString::fromUtf8(utf8).size()) << utf8;
        EXPECT_EQ(Utf8(str), utf8);
        EXPECT_EQ(QStringFromCF(str).toUtf8(), QByteArray(utf8));
        EXPECT_TRUE(CFEqual(str, CFRef<CFStringRef>(CFStringCreateWithQString(QString(utf8)))));
    }
    EXPECT_EQ(CFStringGetLength(Str("\xEF\xBB\xBF bom")), 5) << "a byte-order mark is text too";
    // Half a surrogate pair has no UTF-8 form.
    EXPECT_EQ(Utf8(CFRef<CFStringRef>(CFStringCreateWithSubstring(nullptr, Str("a\xF0\x9F\x98\x80"),
                                                                  CFRangeMake(0, 2)))),
              "<none>");
    EXPECT_FALSE(CFStringCreateWithSubstring(nullptr, Str("abc"), CFRangeMake(2, 2)));
    // Truncated, overlong "/", an encoded surrogate, beyond U+10FFFF, stray bytes.
    for (const char *text : {"\xC3", "abc\xE6\x97", "\xF0\x9F\x98", "\xC0\xAF", "\xE0\x80\xAF",
                             "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xFF", "ok\xC3("}) {
        EXPECT_FALSE(Str(text)) << ::testing::PrintToString(std::string(text));
        EXPECT_FALSE(CFRef<CFStringRef>(CFStringCreateWithBytes(nullptr, (const UInt8 *)text,
                                                                CFIndex(std::string(text).size()),
                                                                kCFStringEncodingUTF8, false)));
    }
    CFRef<CFMutableStringRef> key(CFStringCreateMutable(nullptr, 0));
    CFStringAppendCString(key, "ok", kCFStringEncodingUTF8);
    CFStringAppendCString(key, "\xC3", kCFStringEncodingUTF8);
    EXPECT_EQ(Utf8(key), "ok") << "appending damaged text appends nothing";
    EXPECT_FALSE(Str(nullptr));

    // Half-width katakana are single bytes, kanji two: ｶﾀ 印刷. "<none>": no conversion.
    const std::tuple<CFStringEncoding, std::string, const char *> cases[] = {
        {kCFStringEncodingISOLatin1, "caf\xE9 \xA3\xFF", "caf\xC3\xA9 \xC2\xA3\xC3\xBF"},
        {kCFStringEncodingWindowsLatin1, "\x80 \x93q\x94",
         "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D"},
        {kCFStringEncodingMacRoman, "Caf\x8E \xA5", "Caf\xC3\xA9 \xE2\x80\xA2"},
        {kCFStringEncodingMacJapanese, "\xB6\xC0 \x88\xF3\x8D\xFC",
         "\xEF\xBD\xB6\xEF\xBE\x80 \xE5\x8D\xB0\xE5\x88\xB7"},
        {kCFStringEncodingASCII, "Letter", "Letter"},
        {kCFStringEncodingASCII, "<none>", "caf\xC3\xA9"},
        {kCFStringEncodingISOLatin1, "<none>", "\xE2\x82\xAC"},
        {kCFStringEncodingMacRoman, "<none>", "\xE6\x97\xA5"},
        {kCFStringEncodingMacJapanese, "<none>", "\xF0\x9F\x98\x80"}};
    for (const auto &[encoding, bytes, utf8] : cases) {
        EXPECT_EQ(Utf8(Str(utf8), encoding), bytes) << utf8;
        EXPECT_EQ(bytes == "<none>" ? utf8 : Utf8(Str(bytes.c_str(), encoding)), utf8);
    }
    EXPECT_FALSE(Str("\x81", kCFStringEncodingWindowsLatin1));
    EXPECT_FALSE(Str("\x88", kCFStringEncodingMacJapanese)) << "a lead byte without its trail";

    CFRef<CFStringRef> str = Str("caf\xC3\xA9"); // five UTF-8 bytes
    EXPECT_EQ(Utf8(str, kCFStringEncodingUTF8, 5), "<none>");
    EXPECT_EQ(Utf8(str, kCFStringEncodingUTF8, 6), "caf\xC3\xA9");
    EXPECT_EQ(Utf8(str, kCFStringEncodingISOLatin1, 5), "caf\xE9");
    EXPECT_FALSE(CFStringGetCString(str, nullptr, 8, kCFStringEncodingUTF8));
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUTF8), 12);
    // A loss byte stands in for what the encoding cannot hold; without one, conversion stops.
    CFRef<CFStringRef> euro = Str("ab\xE2\x82\xAC_d");
    UInt8 bytes[16];
    CFIndex used = -1;
    const CFRange all = CFRangeMake(0, 5);
    const CFStringEncoding latin1 = kCFStringEncodingISOLatin1;
    EXPECT_EQ(CFStringGetBytes(euro, all, latin1, 0, false, bytes, 16, &used), 2);
    EXPECT_EQ(CFStringGetBytes(euro, all, latin1, '?', false, bytes, 16, &used), 5);
    EXPECT_EQ(std::string((char *)bytes, size_t(used)), "ab?_d");
    EXPECT_EQ(CFStringGetBytes(euro, all, kCFStringEncodingUTF8, 0, false, bytes, 4, &used), 2)
        << "a small buffer never receives half a character";
}

} // namespace

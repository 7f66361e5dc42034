// Strings as the panes and the PPD code use them: UTF-16 units, UTF-8 and legacy encodings.
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/CFRef.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

CFRef<CFStringRef> fromUTF8(const char *text)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
}

std::vector<UniChar> unitsOf(CFStringRef str)
{
    std::vector<UniChar> units(size_t(CFStringGetLength(str)));
    CFStringGetCharacters(str, CFRangeMake(0, CFIndex(units.size())), units.data());
    return units;
}

std::string utf8Of(CFStringRef str)
{
    std::vector<char> buffer(
        size_t(CFStringGetMaximumSizeForEncoding(CFStringGetLength(str), kCFStringEncodingUTF8)) +
        1);
    if (!CFStringGetCString(str, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8))
        return "<not convertible>";
    return buffer.data();
}

TEST(CFStringTest, LengthCountsUTF16UnitsNotBytesOrCharacters)
{
    struct Case
    {
        const char *utf8;
        CFIndex units;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"\xC3\xA9t\xC3\xA9", 3},        // été: two-byte sequences, one unit each
        {"\xE6\x97\xA5\xE6\x9C\xAC", 2}, // 日本
        {"\xF0\x9F\x98\x80", 2},         // 😀: a surrogate pair
        {"a\xF0\x9F\x98\x80z", 4},
    };
    for (const Case &c : cases) {
        CFRef<CFStringRef> str = fromUTF8(c.utf8);
        ASSERT_TRUE(str) << c.utf8;
        EXPECT_EQ(CFStringGetLength(str), c.units) << c.utf8;
        EXPECT_EQ(utf8Of(str), c.utf8);
    }
}

TEST(CFStringTest, SubstringsAndCharactersAreTakenByUnits)
{
    CFRef<CFStringRef> str = fromUTF8("a\xF0\x9F\x98\x80z\xC3\xA9");
    EXPECT_EQ(unitsOf(str), (std::vector<UniChar>{u'a', 0xD83D, 0xDE00, u'z', 0xE9}));
    EXPECT_EQ(CFStringGetCharacterAtIndex(str, 1), 0xD83D);
    EXPECT_EQ(CFStringGetCharacterAtIndex(str, 4), 0xE9);

    CFRef<CFStringRef> tail(CFStringCreateWithSubstring(nullptr, str, CFRangeMake(3, 2)));
    EXPECT_EQ(utf8Of(tail), "z\xC3\xA9");
    CFRef<CFStringRef> pair(CFStringCreateWithSubstring(nullptr, str, CFRangeMake(1, 2)));
    EXPECT_EQ(utf8Of(pair), "\xF0\x9F\x98\x80");

    // Half a surrogate pair is a valid UTF-16 string but has no UTF-8 form.
    CFRef<CFStringRef> half(CFStringCreateWithSubstring(nullptr, str, CFRangeMake(0, 2)));
    ASSERT_TRUE(half);
    EXPECT_EQ(CFStringGetLength(half), 2);
    char buffer[16];
    EXPECT_FALSE(CFStringGetCString(half, buffer, sizeof buffer, kCFStringEncodingUTF8));
}

TEST(CFStringTest, OutOfRangeAccessAnswersNothingAndNeverCrashes)
{
    CFRef<CFStringRef> str = fromUTF8("abc");
    EXPECT_EQ(CFStringGetCharacterAtIndex(str, 3), 0);
    EXPECT_EQ(CFStringGetCharacterAtIndex(str, -1), 0);
    EXPECT_FALSE(CFStringCreateWithSubstring(nullptr, str, CFRangeMake(2, 2)));
    EXPECT_FALSE(CFStringCreateWithSubstring(nullptr, str, CFRangeMake(-1, 1)));
    UniChar units[4] = {1, 1, 1, 1};
    CFStringGetCharacters(str, CFRangeMake(1, 5), units);
    EXPECT_EQ(units[0], 1) << "an invalid range copies nothing";

    EXPECT_EQ(CFStringGetLength(nullptr), 0);
    EXPECT_FALSE(CFStringCreateWithCString(nullptr, nullptr, kCFStringEncodingUTF8));
    CFRetain(nullptr);
    CFRelease(nullptr);
}

TEST(CFStringTest, InvalidUTF8IsRefusedRatherThanRepaired)
{
    const char *invalid[] = {
        "\xC3",             // truncated two-byte sequence
        "abc\xE6\x97",      // truncated three-byte sequence at the end
        "\xF0\x9F\x98",     // truncated four-byte sequence
        "\xC0\xAF",         // overlong "/"
        "\xE0\x80\xAF",     // overlong "/" in three bytes
        "\xF0\x80\x80\xAF", // overlong "/" in four bytes
        "\xED\xA0\x80",     // high surrogate encoded in UTF-8
        "\xED\xBF\xBF",     // low surrogate encoded in UTF-8
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\x80",             // stray continuation byte
        "\xFF",             // never valid
        "ok\xC3(",          // lead byte followed by ASCII
    };
    for (const char *text : invalid) {
        EXPECT_FALSE(fromUTF8(text)) << "accepted " << ::testing::PrintToString(std::string(text));
        CFRef<CFStringRef> fromBytes(
            CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8 *>(text),
                                    CFIndex(std::strlen(text)), kCFStringEncodingUTF8, false));
        EXPECT_FALSE(fromBytes);
    }
}

TEST(CFStringTest, UTF8RoundTripKeepsEveryCharacter)
{
    const char *texts[] = {
        "plain ASCII",
        "caf\xC3\xA9 \xE2\x82\xAC 100",
        "\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF", // プリンタ
        "\xF0\x9F\x96\xA8 printer \xF0\x9F\x98\x80",
        "\xEF\xBB\xBF"
        "starts with a byte-order mark",
    };
    for (const char *text : texts) {
        CFRef<CFStringRef> str = fromUTF8(text);
        ASSERT_TRUE(str) << text;
        EXPECT_EQ(utf8Of(str), text);
        EXPECT_EQ(QStringFromCF(str).toUtf8(), QByteArray(text)) << "a byte-order mark is text too";
        CFRef<CFStringRef> again(CFStringCreateWithQString(QStringFromCF(str)));
        EXPECT_TRUE(CFEqual(str, again));
    }
}

TEST(CFStringTest, BytesMayHoldEmbeddedNULs)
{
    const UInt8 bytes[] = {'a', 0, 'b'};
    CFRef<CFStringRef> str(
        CFStringCreateWithBytes(nullptr, bytes, 3, kCFStringEncodingUTF8, false));
    ASSERT_TRUE(str);
    EXPECT_EQ(unitsOf(str), (std::vector<UniChar>{u'a', 0, u'b'}));
}

struct LegacyCase
{
    CFStringEncoding encoding;
    const char *name;
    std::string bytes;
    const char *utf8;
};

TEST(CFStringTest, LegacyEncodingsOfPrinterDescriptionsConvertBothWays)
{
    const LegacyCase cases[] = {
        {kCFStringEncodingISOLatin1, "Latin-1", "caf\xE9", "caf\xC3\xA9"},
        {kCFStringEncodingISOLatin1, "Latin-1", "\xA3\xFF", "\xC2\xA3\xC3\xBF"},
        {kCFStringEncodingWindowsLatin1, "cp1252", "\x80 5", "\xE2\x82\xAC 5"},
        {kCFStringEncodingWindowsLatin1, "cp1252", "\x93quoted\x94",
         "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
        {kCFStringEncodingMacRoman, "Mac Roman", "\x8E", "\xC3\xA9"},
        {kCFStringEncodingMacRoman, "Mac Roman", "Caf\x8E \xA5", "Caf\xC3\xA9 \xE2\x80\xA2"},
        // Half-width katakana are single bytes; kanji are two.
        {kCFStringEncodingMacJapanese, "Shift_JIS", "\xB6\xC0\xB6\xC5", // ｶﾀｶﾅ
         "\xEF\xBD\xB6\xEF\xBE\x80\xEF\xBD\xB6\xEF\xBE\x85"},
        {kCFStringEncodingMacJapanese, "Shift_JIS", "\x88\xF3\x8D\xFC", // 印刷
         "\xE5\x8D\xB0\xE5\x88\xB7"},
        {kCFStringEncodingMacJapanese, "Shift_JIS", "A4 \x97\x70\x8E\x86", // A4 用紙
         "A4 \xE7\x94\xA8\xE7\xB4\x99"},
        {kCFStringEncodingASCII, "ASCII", "Letter", "Letter"},
    };
    for (const LegacyCase &c : cases) {
        ASSERT_TRUE(CFStringIsEncodingAvailable(c.encoding)) << c.name;
        CFRef<CFStringRef> decoded(CFStringCreateWithCString(nullptr, c.bytes.c_str(), c.encoding));
        ASSERT_TRUE(decoded) << c.name << " " << c.utf8;
        EXPECT_EQ(utf8Of(decoded), c.utf8) << c.name;

        char buffer[64];
        ASSERT_TRUE(CFStringGetCString(fromUTF8(c.utf8), buffer, sizeof buffer, c.encoding))
            << c.name << " " << c.utf8;
        EXPECT_EQ(std::string(buffer), c.bytes) << c.name;
    }
}

TEST(CFStringTest, CharactersOutsideAnEncodingAreNotConverted)
{
    const struct
    {
        CFStringEncoding encoding;
        const char *utf8;
    } cases[] = {
        {kCFStringEncodingASCII, "caf\xC3\xA9"},
        {kCFStringEncodingISOLatin1, "\xE2\x82\xAC"},     // € is not in Latin-1
        {kCFStringEncodingWindowsLatin1, "\xE6\x97\xA5"}, // 日
        {kCFStringEncodingMacRoman, "\xE6\x97\xA5"},
        {kCFStringEncodingMacJapanese, "\xF0\x9F\x98\x80"}, // 😀
    };
    for (const auto &c : cases) {
        char buffer[32] = "untouched";
        EXPECT_FALSE(CFStringGetCString(fromUTF8(c.utf8), buffer, sizeof buffer, c.encoding))
            << c.utf8;
    }
    // Bytes that mean nothing in the encoding are refused too.
    EXPECT_FALSE(CFStringCreateWithCString(nullptr, "caf\xE9", kCFStringEncodingASCII));
    EXPECT_FALSE(CFStringCreateWithCString(nullptr, "\x81", kCFStringEncodingWindowsLatin1));
    EXPECT_FALSE(CFStringCreateWithCString(nullptr, "\x88", kCFStringEncodingMacJapanese))
        << "a lead byte without its trail byte";
}

TEST(CFStringTest, GetCStringNeedsRoomForTheTextAndItsNUL)
{
    CFRef<CFStringRef> str = fromUTF8("caf\xC3\xA9"); // five UTF-8 bytes
    char buffer[8];
    EXPECT_FALSE(CFStringGetCString(str, buffer, 5, kCFStringEncodingUTF8));
    EXPECT_EQ(buffer[0], '\0') << "a failed conversion leaves an empty string";
    EXPECT_TRUE(CFStringGetCString(str, buffer, 6, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "caf\xC3\xA9");
    // Latin-1 needs one byte less.
    EXPECT_TRUE(CFStringGetCString(str, buffer, 5, kCFStringEncodingISOLatin1));
    EXPECT_STREQ(buffer, "caf\xE9");
    EXPECT_FALSE(CFStringGetCString(str, buffer, 0, kCFStringEncodingUTF8));
    EXPECT_FALSE(CFStringGetCString(str, nullptr, 8, kCFStringEncodingUTF8));
}

TEST(CFStringTest, MaximumSizeCoversTheLongestEncoding)
{
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUTF8), 12);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUnicode), 8);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingMacJapanese), 8);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingISOLatin1), 4);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, 0x7777), kCFNotFound);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(-1, kCFStringEncodingUTF8), kCFNotFound);
}

TEST(CFStringTest, GetBytesStopsAtWhatCannotBeEncodedUnlessGivenALossByte)
{
    CFRef<CFStringRef> str = fromUTF8("ab\xE2\x82\xAC"
                                      "cd"); // ab€cd
    UInt8 buffer[16];
    CFIndex used = -1;
    CFIndex converted = CFStringGetBytes(str, CFRangeMake(0, 5), kCFStringEncodingISOLatin1, 0,
                                         false, buffer, sizeof buffer, &used);
    EXPECT_EQ(converted, 2);
    EXPECT_EQ(used, 2);

    converted = CFStringGetBytes(str, CFRangeMake(0, 5), kCFStringEncodingISOLatin1, '?', false,
                                 buffer, sizeof buffer, &used);
    EXPECT_EQ(converted, 5);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), size_t(used)), "ab?cd");

    // Without a buffer it measures; a small buffer never receives half a character.
    converted = CFStringGetBytes(str, CFRangeMake(0, 5), kCFStringEncodingUTF8, 0, false, nullptr,
                                 0, &used);
    EXPECT_EQ(converted, 5);
    EXPECT_EQ(used, 7);
    converted =
        CFStringGetBytes(str, CFRangeMake(0, 5), kCFStringEncodingUTF8, 0, false, buffer, 4, &used);
    EXPECT_EQ(converted, 2);
    EXPECT_EQ(used, 2);
}

TEST(CFStringTest, UnicodeEncodingIsUTF16InHostOrder)
{
    const UniChar units[] = {u'P', 0x65E5, 0xD83D, 0xDE00};
    CFRef<CFStringRef> str(CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8 *>(units),
                                                   sizeof units, kCFStringEncodingUnicode, false));
    ASSERT_TRUE(str);
    EXPECT_EQ(unitsOf(str), std::vector<UniChar>(std::begin(units), std::end(units)));
    EXPECT_FALSE(CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8 *>(units), 3,
                                         kCFStringEncodingUnicode, false))
        << "an odd number of bytes";

    UInt8 bytes[16];
    CFIndex used = 0;
    EXPECT_EQ(CFStringGetBytes(str, CFRangeMake(0, 4), kCFStringEncodingUnicode, 0, false, bytes,
                               sizeof bytes, &used),
              4);
    EXPECT_EQ(used, 8);
    EXPECT_EQ(std::memcmp(bytes, units, 8), 0);
}

TEST(CFStringTest, ConstantStringsAreSharedAndImmortal)
{
    CFStringRef first = CFSTR("PDE Title");
    CFStringRef second = CFSTR("PDE Title");
    EXPECT_EQ(first, second);
    const CFIndex count = CFGetRetainCount(first);
    CFRelease(first);
    CFRelease(first);
    CFRetain(first);
    EXPECT_EQ(CFGetRetainCount(first), count);
    EXPECT_EQ(CFStringGetLength(first), 9);
    EXPECT_NE(CFSTR("PDE Title "), first);
}

TEST(CFStringTest, MutableStringsGrowAndShrinkByUnits)
{
    CFRef<CFMutableStringRef> key(CFStringCreateMutable(nullptr, 0));
    CFStringAppend(key, CFSTR("Printer_1"));
    CFStringAppendCString(key, "caf\xC3\xA9", kCFStringEncodingUTF8);
    CFStringAppendCString(key, "\xC3", kCFStringEncodingUTF8); // invalid: appends nothing
    const UniChar units[] = {u'!', u'?'};
    CFStringAppendCharacters(key, units, 2);
    EXPECT_EQ(utf8Of(key), "Printer_1caf\xC3\xA9!?");
    CFStringDelete(key, CFRangeMake(0, 8));
    EXPECT_EQ(utf8Of(key), "1caf\xC3\xA9!?");
    CFStringDelete(key, CFRangeMake(5, 9)); // out of range: nothing
    EXPECT_EQ(CFStringGetLength(key), 7);
    CFStringReplaceAll(key, CFSTR("new"));
    EXPECT_EQ(utf8Of(key), "new");

    CFRef<CFMutableStringRef> copy(CFStringCreateMutableCopy(nullptr, 0, key));
    CFStringAppend(copy, CFSTR("er"));
    EXPECT_EQ(utf8Of(key), "new");
    EXPECT_EQ(utf8Of(copy), "newer");

    // An immutable string cannot be changed through a cast.
    CFRef<CFStringRef> fixed = fromUTF8("fixed");
    CFStringAppend(const_cast<CFMutableStringRef>(fixed.get()), CFSTR("!"));
    EXPECT_EQ(utf8Of(fixed), "fixed");
}

TEST(CFStringTest, CompareAndPrefix)
{
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("abd"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("b"), CFSTR("abc"), 0), kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("Secure"), CFSTR("secure"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("Secure"), CFSTR("secure"), kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(fromUTF8("\xC3\x89t\xC3\xA9"), fromUTF8("\xC3\xA9T\xC3\x89"),
                              kCFCompareCaseInsensitive),
              kCFCompareEqualTo);

    EXPECT_TRUE(CFStringHasPrefix(CFSTR("com.veltra.kzu.printsettings.UserName"),
                                  CFSTR("com.veltra.kzu.printsettings.")));
    EXPECT_FALSE(CFStringHasPrefix(CFSTR("com.veltra"), CFSTR("com.veltra.kzu")));
    EXPECT_TRUE(CFStringHasPrefix(CFSTR("anything"), CFSTR("")));
    EXPECT_FALSE(CFStringHasPrefix(nullptr, CFSTR("")));
}

TEST(CFStringTest, CopiesAreEqualAndIndependent)
{
    CFRef<CFMutableStringRef> original(CFStringCreateMutableCopy(nullptr, 0, CFSTR("abc")));
    CFRef<CFStringRef> copy(CFStringCreateCopy(nullptr, original));
    EXPECT_TRUE(CFEqual(original, copy));
    EXPECT_EQ(CFHash(original), CFHash(copy));
    CFStringAppend(original, CFSTR("d"));
    EXPECT_FALSE(CFEqual(original, copy));
    EXPECT_EQ(CFStringGetTypeID(), CFGetTypeID(copy));
}

} // namespace

// Text as the panes, the PPD code and the ticket use it: UTF-16 units, UTF-8 refused when it is
// damaged, the legacy encodings of printer descriptions, and the fixed buffers of the callers.
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/CFRef.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

CFRef<CFStringRef> fromUTF8(const char *text)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
}

std::string utf8Of(CFStringRef str)
{
    char buffer[256];
    return CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer
                                                                                 : "<none>";
}

TEST(CFStringTest, UTF8RoundTripsAndLengthCountsUTF16Units)
{
    const struct
    {
        const char *utf8;
        CFIndex units;
    } cases[] = {
        {"", 0},
        {"caf\xC3\xA9 \xE2\x82\xAC", 6},
        {"\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF", 4}, // プリンタ
        {"a\xF0\x9F\x98\x80z", 4},                               // a surrogate pair
        {"\xEF\xBB\xBF"
         "bom",
         4}, // a byte-order mark is text too
    };
    for (const auto &c : cases) {
        CFRef<CFStringRef> str = fromUTF8(c.utf8);
        ASSERT_TRUE(str) << c.utf8;
        EXPECT_EQ(CFStringGetLength(str), c.units) << c.utf8;
        EXPECT_EQ(utf8Of(str), c.utf8);
        EXPECT_EQ(QStringFromCF(str).toUtf8(), QByteArray(c.utf8));
        EXPECT_TRUE(
            CFEqual(str, CFRef<CFStringRef>(CFStringCreateWithQString(QStringFromCF(str)))));
    }
    // Half a surrogate pair has no UTF-8 form.
    CFRef<CFStringRef> half(
        CFStringCreateWithSubstring(nullptr, fromUTF8("a\xF0\x9F\x98\x80"), CFRangeMake(0, 2)));
    ASSERT_TRUE(half);
    EXPECT_EQ(utf8Of(half), "<none>");
    EXPECT_FALSE(CFStringCreateWithSubstring(nullptr, fromUTF8("abc"), CFRangeMake(2, 2)));
}

TEST(CFStringTest, DamagedUTF8IsRefusedRatherThanRepaired)
{
    const char *invalid[] = {
        "\xC3",
        "abc\xE6\x97",
        "\xF0\x9F\x98", // truncated sequences
        "\xC0\xAF",
        "\xE0\x80\xAF",     // overlong "/"
        "\xED\xA0\x80",     // a surrogate encoded in UTF-8
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\x80",
        "\xFF",
        "ok\xC3(",
    };
    for (const char *text : invalid) {
        EXPECT_FALSE(fromUTF8(text)) << ::testing::PrintToString(std::string(text));
        EXPECT_FALSE(CFRef<CFStringRef>(
            CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8 *>(text),
                                    CFIndex(std::strlen(text)), kCFStringEncodingUTF8, false)));
    }
    // Appending damaged text appends nothing.
    CFRef<CFMutableStringRef> key(CFStringCreateMutable(nullptr, 0));
    CFStringAppendCString(key, "ok", kCFStringEncodingUTF8);
    CFStringAppendCString(key, "\xC3", kCFStringEncodingUTF8);
    EXPECT_EQ(utf8Of(key), "ok");
    EXPECT_FALSE(CFStringCreateWithCString(nullptr, nullptr, kCFStringEncodingUTF8));
}

TEST(CFStringTest, LegacyEncodingsOfPrinterDescriptionsConvertBothWays)
{
    const struct
    {
        CFStringEncoding encoding;
        std::string bytes;
        const char *utf8;
    } cases[] = {
        {kCFStringEncodingISOLatin1, "caf\xE9 \xA3\xFF", "caf\xC3\xA9 \xC2\xA3\xC3\xBF"},
        {kCFStringEncodingWindowsLatin1, "\x80 \x93q\x94",
         "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D"},
        {kCFStringEncodingMacRoman, "Caf\x8E \xA5", "Caf\xC3\xA9 \xE2\x80\xA2"},
        // Half-width katakana are single bytes; kanji are two: ｶﾀ 印刷
        {kCFStringEncodingMacJapanese, "\xB6\xC0 \x88\xF3\x8D\xFC",
         "\xEF\xBD\xB6\xEF\xBE\x80 \xE5\x8D\xB0\xE5\x88\xB7"},
        {kCFStringEncodingASCII, "Letter", "Letter"},
    };
    for (const auto &c : cases) {
        CFRef<CFStringRef> decoded(CFStringCreateWithCString(nullptr, c.bytes.c_str(), c.encoding));
        ASSERT_TRUE(decoded) << c.utf8;
        EXPECT_EQ(utf8Of(decoded), c.utf8);
        char buffer[64];
        ASSERT_TRUE(CFStringGetCString(fromUTF8(c.utf8), buffer, sizeof buffer, c.encoding))
            << c.utf8;
        EXPECT_EQ(std::string(buffer), c.bytes);
    }

    // What an encoding cannot hold is not converted, in either direction.
    const struct
    {
        CFStringEncoding encoding;
        const char *utf8;
    } outside[] = {
        {kCFStringEncodingASCII, "caf\xC3\xA9"},
        {kCFStringEncodingISOLatin1, "\xE2\x82\xAC"},
        {kCFStringEncodingMacRoman, "\xE6\x97\xA5"},
        {kCFStringEncodingMacJapanese, "\xF0\x9F\x98\x80"},
    };
    for (const auto &c : outside) {
        char buffer[32];
        EXPECT_FALSE(CFStringGetCString(fromUTF8(c.utf8), buffer, sizeof buffer, c.encoding))
            << c.utf8;
    }
    EXPECT_FALSE(CFStringCreateWithCString(nullptr, "\x81", kCFStringEncodingWindowsLatin1));
    EXPECT_FALSE(CFStringCreateWithCString(nullptr, "\x88", kCFStringEncodingMacJapanese))
        << "a lead byte without its trail byte";
}

TEST(CFStringTest, CopyIntoABufferNeedsRoomForTheTextAndItsNUL)
{
    CFRef<CFStringRef> str = fromUTF8("caf\xC3\xA9"); // five UTF-8 bytes
    char buffer[8];
    EXPECT_FALSE(CFStringGetCString(str, buffer, 5, kCFStringEncodingUTF8));
    EXPECT_EQ(buffer[0], '\0') << "a failed conversion leaves an empty string";
    EXPECT_TRUE(CFStringGetCString(str, buffer, 6, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "caf\xC3\xA9");
    EXPECT_TRUE(CFStringGetCString(str, buffer, 5, kCFStringEncodingISOLatin1));
    EXPECT_FALSE(CFStringGetCString(str, nullptr, 8, kCFStringEncodingUTF8));
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUTF8), 12);

    // A loss byte stands in for what the encoding cannot hold; without one, conversion stops.
    CFRef<CFStringRef> euro = fromUTF8("ab\xE2\x82\xAC"
                                       "cd");
    UInt8 bytes[16];
    CFIndex used = -1;
    EXPECT_EQ(CFStringGetBytes(euro, CFRangeMake(0, 5), kCFStringEncodingISOLatin1, 0, false, bytes,
                               sizeof bytes, &used),
              2);
    EXPECT_EQ(CFStringGetBytes(euro, CFRangeMake(0, 5), kCFStringEncodingISOLatin1, '?', false,
                               bytes, sizeof bytes, &used),
              5);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(bytes), size_t(used)), "ab?cd");
    EXPECT_EQ(
        CFStringGetBytes(euro, CFRangeMake(0, 5), kCFStringEncodingUTF8, 0, false, bytes, 4, &used),
        2)
        << "a small buffer never receives half a character";
}

} // namespace

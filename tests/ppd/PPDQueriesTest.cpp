// The queries the panes make on a printer description, on small descriptions written here.
#include "PPDQueries.h"
#include "PPDFixtures.h"
#include "PPDTestText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using ppdtest::MinimalPPD;
using ppdtest::OpenInlinePPD;
using ppdtest::Utf8;
using ppdtest::Utf8Owned;

namespace {

std::string PasscodePPD(const std::string &defaultChoice)
{
    return MinimalPPD(R"(*OpenUI *VZMinDigitPasscode/Minimum Passcode Digits: PickOne
*DefaultVZMinDigitPasscode: )" +
                      defaultChoice +
                      R"(
*VZMinDigitPasscode )" +
                      defaultChoice +
                      R"(/Minimum: ""
*VZMinDigitPasscode Other/Other: ""
*CloseUI: *VZMinDigitPasscode
)");
}

TEST(PPDQueries, MinimumPasscodeDigitsComeFromTheDefaultChoiceNameOrAreZero)
{
    const struct
    {
        const char *defaultChoice;
        int expected;
    } cases[] = {
        {"4Digits", 4}, {"Min10", 10}, {"1a2", 12}, {"None", 0}, {"08", 8}, {"6", 6},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.defaultChoice);
        auto ppd = OpenInlinePPD(PasscodePPD(c.defaultChoice));
        ASSERT_TRUE(ppd);
        EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), c.expected);
    }

    // Without the option the minimum is zero.
    auto ppd = OpenInlinePPD(MinimalPPD(R"(*OpenUI *Duplex/Duplex: PickOne
*DefaultDuplex: None
*Duplex None/Off: ""
*Duplex DuplexNoTumble/Long Edge: ""
*CloseUI: *Duplex
)"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), 0);
    EXPECT_FALSE(CheckPPDKeyIsExist(ppd.get(), kPPDMinimunDigitPasscode));
    EXPECT_TRUE(CheckPPDKeyIsExist(ppd.get(), "Duplex"));
    EXPECT_EQ(GetPWMiniIntValueFromPPD(nullptr, kPPDMinimunDigitPasscode), 0);
    EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), nullptr), 0);
    EXPECT_FALSE(CheckPPDKeyIsExist(nullptr, "Duplex"));
}

TEST(PPDQueries, DigitsAreCollectedWithinTheGivenLength)
{
    const struct
    {
        const char *text;
        unsigned length;
        int expected;
    } cases[] = {
        {"4Digits", 7, 4}, {"Min10", 5, 10}, {"1a2", 3, 12}, {"1a2", 2, 1},
        {"1a2", 0, 0},     {"None", 4, 0},   {"12", 99, 12}, // stops at the NUL
        {"-5", 2, 5},                                        // a sign is no digit
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(getIntFromString(c.text, c.length), c.expected);
    }
    EXPECT_EQ(getIntFromString(nullptr, 4), 0);
    const std::string many(400, '1');
    EXPECT_EQ(getIntFromString(many.c_str(), unsigned(many.size())), std::atoi(many.c_str()));
}

TEST(PPDQueries, DefaultChoiceIsMatchedExactly)
{
    const char *onOff = R"(*OpenUI *VZToner/Toner Save: PickOne
*DefaultVZToner: %s
*VZToner On/On: ""
*VZToner Off/Off: ""
*VZToner on/on: ""
*CloseUI: *VZToner
)";
    const CFStringRef names[] = {CFSTR("Off"), CFSTR("On")};
    const struct
    {
        const char *defaultChoice;
        int expected;
    } cases[] = {{"On", 1}, {"Off", 0}, {"on", -1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.defaultChoice);
        char body[512];
        std::snprintf(body, sizeof body, onOff, c.defaultChoice);
        auto ppd = OpenInlinePPD(MinimalPPD(body));
        ASSERT_TRUE(ppd);
        EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", names, 2), c.expected);
    }

    auto ppd = OpenInlinePPD(MinimalPPD(std::string(R"(*OpenUI *VZToner/Toner Save: PickOne
*DefaultVZToner: On
*VZToner On/On: ""
*CloseUI: *VZToner
)")));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZMissing", names, 2), -1);
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", names, 1), -1) << "only count names count";
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", nullptr, 2), -1);
    const CFStringRef withGap[] = {nullptr, CFSTR("On")};
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", withGap, 2), 1);
}

TEST(PPDQueries, DefaultChoiceNameAndTitleOfAnOption)
{
    auto ppd = OpenInlinePPD(PasscodePPD("4Digits"));
    ASSERT_TRUE(ppd);
    CFStringRef choice = CFSTR("stale");
    EXPECT_EQ(GetUIDefaultFromPPD(ppd.get(), kPPDMinimunDigitPasscode, choice), noErr);
    EXPECT_EQ(Utf8Owned(choice), "4Digits");
    CFStringRef title = CFSTR("stale");
    EXPECT_EQ(GetUITitleFromPPD(ppd.get(), kPPDMinimunDigitPasscode, title), noErr);
    EXPECT_EQ(Utf8Owned(title), "Minimum Passcode Digits");

    choice = CFSTR("stale");
    title = CFSTR("stale");
    EXPECT_EQ(GetUIDefaultFromPPD(ppd.get(), "VZMissing", choice), noErr);
    EXPECT_EQ(GetUITitleFromPPD(ppd.get(), "VZMissing", title), noErr);
    EXPECT_EQ(choice, nullptr);
    EXPECT_EQ(title, nullptr);
    EXPECT_EQ(GetUITitleFromPPD(nullptr, "VZMissing", title), noErr);
    EXPECT_EQ(title, nullptr);
}

// A description whose lang_encoding the test sets: libcups itself only ever reports "UTF-8"
// or nothing.
TEST(PPDQueries, LanguageEncodingFollowsTheTableCaseSensitively)
{
    const struct
    {
        const char *languageEncoding;
        CFStringEncoding expected;
    } cases[] = {
        {"ISOLatin1", kCFStringEncodingISOLatin1},
        {"WindowsANSI", kCFStringEncodingWindowsLatin1},
        {"JIS83-RKSJ", kCFStringEncodingMacJapanese},
        {"UTF-8", kCFStringEncodingUTF8},
        {"UTF8", kCFStringEncodingUTF8},
        {"utf-8", kCFStringEncodingMacRoman},
        {"isolatin1", kCFStringEncodingMacRoman},
        {"ISOLatin2", kCFStringEncodingMacRoman},
        {"MacStandard", kCFStringEncodingMacRoman},
        {"UTF-8 ", kCFStringEncodingMacRoman},
        {"", kCFStringEncodingMacRoman},
        {nullptr, kCFStringEncodingMacRoman},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.languageEncoding ? c.languageEncoding : "(none)");
        ppd_file_t description{};
        description.lang_encoding = const_cast<char *>(c.languageEncoding);
        CFStringEncoding encoding = 0x12345;
        GetCFStringEncodingFromPPD(&description, &encoding);
        EXPECT_EQ(encoding, c.expected);
    }
    CFStringEncoding encoding = 0x12345;
    GetCFStringEncodingFromPPD(nullptr, &encoding);
    EXPECT_EQ(encoding, kCFStringEncodingMacRoman);
    GetCFStringEncodingFromPPD(nullptr, nullptr); // nothing to set, nothing happens
}

TEST(PPDQueries, LibcupsReportsUtf8ForAnyDeclaredEncodingAndNothingOtherwise)
{
    auto declared = OpenInlinePPD(MinimalPPD("*LanguageEncoding: ISOLatin1\n"));
    auto undeclared = OpenInlinePPD(MinimalPPD(""));
    ASSERT_TRUE(declared);
    ASSERT_TRUE(undeclared);
    CFStringEncoding encoding = 0;
    GetCFStringEncodingFromPPD(declared.get(), &encoding);
    EXPECT_EQ(encoding, kCFStringEncodingUTF8);
    GetCFStringEncodingFromPPD(undeclared.get(), &encoding);
    EXPECT_EQ(encoding, kCFStringEncodingMacRoman);
}

// The bytes of a Latin-1 PPD file: "Unité", "Activé", "Désactivé".
std::string AccentedPPD(const char *languageEncodingLine)
{
    return MinimalPPD(std::string(languageEncodingLine) + "*OpenUI *VZUnit/Unit\xE9: PickOne\n"
                                                          "*DefaultVZUnit: On\n"
                                                          "*VZUnit On/Activ\xE9: \"\"\n"
                                                          "*VZUnit Off/D<E9>sactiv<E9>: \"\"\n"
                                                          "*CloseUI: *VZUnit\n");
}

TEST(PPDQueries, TitlesOfLatin1FilesReadCorrectlyWithOrWithoutLanguageEncoding)
{
    for (const char *line : {"*LanguageEncoding: ISOLatin1\n", ""}) {
        SCOPED_TRACE(*line ? "declared ISOLatin1" : "no LanguageEncoding");
        auto ppd = OpenInlinePPD(AccentedPPD(line));
        ASSERT_TRUE(ppd);
        CFStringRef title = nullptr;
        GetUITitleFromPPD(ppd.get(), "VZUnit", title);
        EXPECT_EQ(Utf8Owned(title), "Unit\u00e9");
        const ppd_option_t *option = ppdFindOption(ppd.get(), "VZUnit");
        ASSERT_NE(option, nullptr);
        ASSERT_EQ(option->num_choices, 2);
        EXPECT_EQ(Utf8Owned(CreatePPDTitleString(ppd.get(), option->choices[0].text)),
                  "Activ\u00e9");
        EXPECT_EQ(Utf8Owned(CreatePPDTitleString(ppd.get(), option->choices[1].text)),
                  "D\u00e9sactiv\u00e9");
    }
}

// Texts left in the file's own bytes (as a description built without libcups' conversion
// holds them) are read in the encoding the description names.
TEST(PPDQueries, TitlesInLegacyBytesAreReadInTheNamedEncoding)
{
    const struct
    {
        const char *languageEncoding;
        const char *bytes;
        const char *expected;
    } cases[] = {
        {"ISOLatin1", "Unit\xE9", "Unit\u00e9"},
        {"WindowsANSI", "\x93Quoted\x94", "\u201cQuoted\u201d"},
        {"JIS83-RKSJ", "\x83\x65\x83\x58\x83\x67", "\u30c6\u30b9\u30c8"},
        {nullptr, "Unit\x8E", "Unit\u00e9"},         // MacRoman
        {"utf-8", "Unit\x8E", "Unit\u00e9"},         // not a table name: MacRoman
        {"UTF-8", "Unit\xE9", "Unit\u00c8"},         // invalid UTF-8: MacRoman at last
        {"ISOLatin1", "Unit\xC3\xA9", "Unit\u00e9"}, // already UTF-8, as libcups leaves it
    };
    auto ppd = OpenInlinePPD(MinimalPPD(R"(*OpenUI *VZUnit/Unit: PickOne
*DefaultVZUnit: On
*VZUnit On/On: ""
*CloseUI: *VZUnit
)"));
    ASSERT_TRUE(ppd);
    ppd_option_t *option = ppdFindOption(ppd.get(), "VZUnit");
    ASSERT_NE(option, nullptr);
    char *const libcupsEncoding = ppd->lang_encoding;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        ppd->lang_encoding = const_cast<char *>(c.languageEncoding);
        std::strncpy(option->text, c.bytes, sizeof option->text - 1);
        CFStringRef title = nullptr;
        EXPECT_EQ(GetUITitleFromPPD(ppd.get(), "VZUnit", title), noErr);
        EXPECT_EQ(Utf8Owned(title), c.expected);
    }
    ppd->lang_encoding = libcupsEncoding;
    EXPECT_EQ(CreatePPDTitleString(ppd.get(), nullptr), nullptr);
}

} // namespace

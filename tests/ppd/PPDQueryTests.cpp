// The queries the panes make on a printer description: passcode digits, default choices,
// titles in the description's encoding, and whether the printer's model is one of the models a
// pop-up list (loaded from a .ui window as the panes load theirs) offers.
#include "PPDFixtures.h"
#include "PPDQueries.h"

#include <HIToolbox/Controls.h>
#include <HIToolbox/QtBridge.h>

#include <QComboBox>
#include <QFile>
#include <QRegularExpression>
#include <QUiLoader>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

using namespace ppdtest;

namespace {

std::string OneOption(const char *keyword, const char *defaultChoice, const char *choices)
{
    return std::string("*OpenUI *") + keyword + "/" + keyword + " Title: PickOne\n*Default" +
           keyword + ": " + defaultChoice + "\n" + choices + "*CloseUI: *" + keyword + "\n";
}

TEST(PPDQueries, MinimumPasscodeDigitsComeFromTheDefaultChoiceNameOrAreZero)
{
    const std::pair<const char *, int> cases[] = {{"4Digits", 4}, {"Min10", 10}, {"1a2", 12},
                                                  {"None", 0},    {"08", 8},     {"6", 6}};
    for (const auto &[defaultChoice, expected] : cases) {
        SCOPED_TRACE(defaultChoice);
        auto ppd = OpenInlinePPD(OneOption(kPPDMinimunDigitPasscode, defaultChoice,
                                           (std::string("*VZMinDigitPasscode ") + defaultChoice +
                                            "/Minimum: \"\"\n*VZMinDigitPasscode Other/O: \"\"\n")
                                               .c_str()));
        ASSERT_TRUE(ppd);
        EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), expected);
        EXPECT_TRUE(CheckPPDKeyIsExist(ppd.get(), kPPDMinimunDigitPasscode));
    }
    // Without the option the minimum is zero.
    auto ppd = OpenInlinePPD(OneOption("Duplex", "None", "*Duplex None/Off: \"\"\n"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), 0);
    EXPECT_FALSE(CheckPPDKeyIsExist(ppd.get(), kPPDMinimunDigitPasscode));
    EXPECT_TRUE(CheckPPDKeyIsExist(ppd.get(), "Duplex"));
    EXPECT_EQ(GetPWMiniIntValueFromPPD(nullptr, kPPDMinimunDigitPasscode), 0);
    EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), nullptr), 0);
    EXPECT_FALSE(CheckPPDKeyIsExist(nullptr, "Duplex"));

    // Digits are collected within the given length; a sign is no digit; NUL ends the text.
    const struct
    {
        const char *text;
        unsigned length;
        int expected;
    } digits[] = {{"4Digits", 7, 4}, {"1a2", 3, 12},  {"1a2", 2, 1},
                  {"1a2", 0, 0},     {"None", 4, 0},  {"12", 99, 12},
                  {"-5", 2, 5},      {nullptr, 4, 0}, {"99999", 5, 99999}};
    for (const auto &c : digits)
        EXPECT_EQ(getIntFromString(c.text, c.length), c.expected) << (c.text ? c.text : "null");
}

TEST(PPDQueries, DefaultChoiceIsMatchedExactlyAndGivesItsNameAndTitle)
{
    const CFStringRef names[] = {CFSTR("Off"), CFSTR("On")};
    const char *choices = "*VZToner On/On: \"\"\n*VZToner Off/Off: \"\"\n*VZToner on/on: \"\"\n";
    for (const auto &[defaultChoice, expected] :
         {std::pair("On", 1), std::pair("Off", 0), std::pair("on", -1)}) {
        auto ppd = OpenInlinePPD(OneOption("VZToner", defaultChoice, choices));
        ASSERT_TRUE(ppd);
        EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", names, 2), expected) << defaultChoice;
    }
    auto ppd = OpenInlinePPD(OneOption("VZToner", "On", "*VZToner On/On: \"\"\n"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZMissing", names, 2), -1);
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", names, 1), -1) << "only count names count";
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", nullptr, 2), -1);
    const CFStringRef withGap[] = {nullptr, CFSTR("On")};
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", withGap, 2), 1);

    CFStringRef choice = CFSTR("stale"), title = CFSTR("stale");
    EXPECT_EQ(GetUIDefaultFromPPD(ppd.get(), "VZToner", choice), noErr);
    EXPECT_EQ(Utf8Owned(choice), "On");
    EXPECT_EQ(GetUITitleFromPPD(ppd.get(), "VZToner", title), noErr);
    EXPECT_EQ(Utf8Owned(title), "VZToner Title");
    choice = title = CFSTR("stale");
    EXPECT_EQ(GetUIDefaultFromPPD(ppd.get(), "VZMissing", choice), noErr);
    EXPECT_EQ(GetUITitleFromPPD(ppd.get(), "VZMissing", title), noErr);
    EXPECT_EQ(choice, nullptr);
    EXPECT_EQ(title, nullptr);
    title = CFSTR("stale");
    EXPECT_EQ(GetUITitleFromPPD(nullptr, "VZMissing", title), noErr);
    EXPECT_EQ(title, nullptr);
}

// A description whose lang_encoding the test sets: libcups itself only ever reports "UTF-8"
// (for any declared encoding) or nothing.
TEST(PPDQueries, LanguageEncodingFollowsTheTableCaseSensitively)
{
    const std::pair<const char *, CFStringEncoding> cases[] = {
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
        {nullptr, kCFStringEncodingMacRoman}};
    for (const auto &[name, expected] : cases) {
        ppd_file_t description{};
        description.lang_encoding = const_cast<char *>(name);
        CFStringEncoding encoding = 0x12345;
        GetCFStringEncodingFromPPD(&description, &encoding);
        EXPECT_EQ(encoding, expected) << (name ? name : "(none)");
    }
    CFStringEncoding encoding = 0x12345;
    GetCFStringEncodingFromPPD(nullptr, &encoding);
    EXPECT_EQ(encoding, kCFStringEncodingMacRoman);
    GetCFStringEncodingFromPPD(nullptr, nullptr); // nothing to set, nothing happens
    auto declared = OpenInlinePPD("*LanguageEncoding: ISOLatin1\n");
    auto undeclared = OpenInlinePPD("");
    ASSERT_TRUE(declared && undeclared);
    GetCFStringEncodingFromPPD(declared.get(), &encoding);
    EXPECT_EQ(encoding, kCFStringEncodingUTF8);
    GetCFStringEncodingFromPPD(undeclared.get(), &encoding);
    EXPECT_EQ(encoding, kCFStringEncodingMacRoman);
}

TEST(PPDQueries, TitlesOfLatin1FilesReadCorrectlyWithOrWithoutLanguageEncoding)
{
    // The bytes of a Latin-1 file: "Unité", "Activé", "Désactivé" (with the PPD's <hex> form).
    for (const char *line : {"*LanguageEncoding: ISOLatin1\n", ""}) {
        SCOPED_TRACE(*line ? "declared ISOLatin1" : "no LanguageEncoding");
        auto ppd = OpenInlinePPD(std::string(line) + "*OpenUI *VZUnit/Unit\xE9: PickOne\n"
                                                     "*DefaultVZUnit: On\n"
                                                     "*VZUnit On/Activ\xE9: \"\"\n"
                                                     "*VZUnit Off/D<E9>sactiv<E9>: \"\"\n"
                                                     "*CloseUI: *VZUnit\n");
        ASSERT_TRUE(ppd);
        CFStringRef title = nullptr;
        GetUITitleFromPPD(ppd.get(), "VZUnit", title);
        EXPECT_EQ(Utf8Owned(title), "Unit\u00e9");
        const ppd_option_t *option = ppdFindOption(ppd.get(), "VZUnit");
        ASSERT_TRUE(option && option->num_choices == 2);
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
        const char *languageEncoding, *bytes, *expected;
    } cases[] = {
        {"ISOLatin1", "Unit\xE9", "Unit\u00e9"},
        {"WindowsANSI", "\x93Quoted\x94", "\u201cQuoted\u201d"},
        {"JIS83-RKSJ", "\x83\x65\x83\x58\x83\x67", "\u30c6\u30b9\u30c8"},
        {nullptr, "Unit\x8E", "Unit\u00e9"},         // MacRoman
        {"utf-8", "Unit\x8E", "Unit\u00e9"},         // not a table name: MacRoman
        {"UTF-8", "Unit\xE9", "Unit\u00c8"},         // invalid UTF-8: MacRoman at last
        {"ISOLatin1", "Unit\xC3\xA9", "Unit\u00e9"}, // already UTF-8, as libcups leaves it
    };
    auto ppd = OpenInlinePPD(OneOption("VZUnit", "On", "*VZUnit On/On: \"\"\n"));
    ASSERT_TRUE(ppd);
    ppd_option_t *option = ppdFindOption(ppd.get(), "VZUnit");
    ASSERT_NE(option, nullptr);
    char *const libcupsEncoding = ppd->lang_encoding;
    for (const auto &c : cases) {
        ppd->lang_encoding = const_cast<char *>(c.languageEncoding);
        std::strncpy(option->text, c.bytes, sizeof option->text - 1);
        CFStringRef title = nullptr;
        EXPECT_EQ(GetUITitleFromPPD(ppd.get(), "VZUnit", title), noErr);
        EXPECT_EQ(Utf8Owned(title), c.expected);
    }
    ppd->lang_encoding = libcupsEncoding;
    EXPECT_EQ(CreatePPDTitleString(ppd.get(), nullptr), nullptr);
}

TEST(PPDQueries, ModelMustMatchAnItemOfThePopUpListExactly)
{
    QFile file(QStringLiteral(VELTRA_TEST_DATA_DIR "/ppd/ModelList.ui"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QUiLoader loader;
    std::unique_ptr<QWidget> window(loader.load(&file));
    ASSERT_TRUE(window);
    ControlRef popup =
        VeltraControlForWidget(window->findChild<QComboBox *>(QStringLiteral("modelList")));
    ASSERT_NE(popup, nullptr);
    const std::pair<const char *, OSStatus> cases[] = {
        {"Kyocera FS-3700+", noErr},
        {"Kyocera FS-3700", kPPDModelNotSupported},     // shorter than the item
        {"Kyocera FS-3700+ KX", kPPDModelNotSupported}, // longer than the item
        {"kyocera fs-3700+", kPPDModelNotSupported},
        {"Mod\xE8le Veltra", noErr}, // the file's Latin-1 bytes, as libcups leaves them
        {"Mod\xC3\xA8le Veltra", noErr},
        {"", kPPDModelNotSupported},
    };
    for (const auto &[modelName, expected] : cases) {
        auto ppd = OpenInlinePPD(std::string("*ModelName: \"") + modelName + "\"\n");
        ASSERT_TRUE(ppd);
        EXPECT_EQ(CheckPPDCompatible(ppd.get(), popup), expected) << modelName;
    }
    auto kyocera = OpenRealPPD(kRealPPDs[kKyoceraFrench]);
    auto sharp = OpenRealPPD(kRealPPDs[kSharp]);
    ASSERT_TRUE(kyocera && sharp);
    EXPECT_EQ(CheckPPDCompatible(kyocera.get(), popup), noErr);
    EXPECT_EQ(CheckPPDCompatible(sharp.get(), popup), kPPDModelNotSupported);
    EXPECT_EQ(CheckPPDCompatible(nullptr, popup), kPPDModelNotSupported);
    EXPECT_EQ(CheckPPDCompatible(kyocera.get(), nullptr), kPPDModelNotSupported);
    EXPECT_FALSE(ISPrintSupported(popup, nullptr));
    EXPECT_TRUE(ISPrintSupported(popup, "Lexmark C522"));
}

// Real descriptions, all written in ISO Latin-1: titles must read as the file's author wrote
// them. A French Kyocera (accented titles) and a Sharp (another vendor's layout) stand for all.
TEST(PPDQueries, RealDescriptionsReadAsWritten)
{
    const struct
    {
        RealPPDIndex ppd;
        const char *keyword, *title, *defaultChoice;
    } cases[] = {
        {kKyoceraFrench, "Option16", "Unit\u00e9 Duplex", "False"},
        {kKyoceraFrench, "Option17", "P\u00e9riph\u00e9rie de Sortie", nullptr},
        {kKyoceraFrench, "PageSize", nullptr, "A4"},
        {kSharp, "Option5", "Input Tray Options", nullptr},
        {kSharp, "Duplex", nullptr, "None"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(kRealPPDs[c.ppd].name) + " " + c.keyword);
        auto ppd = OpenRealPPD(kRealPPDs[c.ppd]);
        ASSERT_TRUE(ppd);
        EXPECT_TRUE(CheckPPDKeyIsExist(ppd.get(), c.keyword));
        CFStringRef text = nullptr;
        if (c.title) {
            EXPECT_EQ(GetUITitleFromPPD(ppd.get(), c.keyword, text), noErr);
            EXPECT_EQ(Utf8Owned(text), c.title);
        }
        if (c.defaultChoice) {
            GetUIDefaultFromPPD(ppd.get(), c.keyword, text);
            EXPECT_EQ(Utf8Owned(text), c.defaultChoice);
        }
        // Declared Latin-1 is reported as UTF-8, what it is after conversion.
        CFStringEncoding encoding = 0;
        GetCFStringEncodingFromPPD(ppd.get(), &encoding);
        EXPECT_EQ(encoding, kCFStringEncodingUTF8);
        // None of them is a printer with the secure-print options.
        EXPECT_FALSE(CheckPPDKeyIsExist(ppd.get(), kPPDMinimunDigitPasscode));
        EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), 0);
        EXPECT_FALSE(CheckPPDKeyIsExist(ppd.get(), kPPDHardDiskKey));
    }
}

// The file's own text of a title: Latin-1 bytes with <hex> runs, as the PPD format writes it.
QString DecodePPDTitle(const QString &raw)
{
    QByteArray bytes;
    const QByteArray latin1 = raw.toLatin1();
    for (qsizetype i = 0; i < latin1.size(); ++i) {
        const qsizetype end = latin1[i] == '<' ? latin1.indexOf('>', i) : -1;
        if (end > i) {
            bytes += QByteArray::fromHex(latin1.mid(i + 1, end - i - 1));
            i = end;
        } else {
            bytes += latin1[i];
        }
    }
    return QString::fromLatin1(bytes);
}

// Every option title (from *OpenUI lines) and choice title the file spells out, checked against
// a reading of the file that does not go through libcups.
TEST(PPDQueries, EveryTitleOfARealDescriptionMatchesTheFileText)
{
    for (RealPPDIndex real : {kKyoceraFrench, kSharp}) {
        SCOPED_TRACE(kRealPPDs[real].name);
        auto ppd = OpenRealPPD(kRealPPDs[real]);
        ASSERT_TRUE(ppd);
        QFile file(QString::fromStdString(RealPPDPath(kRealPPDs[real])));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(file.readAll()).split(u'\n');
        std::map<std::string, std::string> expected; // "keyword" or "keyword choice" -> title
        const QRegularExpression openUI(R"(^\*(?:JCL)?OpenUI \*([^/:\s]+)/([^:\r\n]+):)");
        for (const QString &line : lines) {
            const auto match = openUI.match(line);
            if (match.hasMatch())
                expected[match.captured(1).toStdString()] =
                    DecodePPDTitle(match.captured(2)).toStdString();
        }
        int optionTitles = 0, choiceTitles = 0;
        const QRegularExpression choiceLine(R"(^\*([^\s:/]+) ([^/:\s]+)/([^:\r\n]+):)");
        for (const QString &line : lines) {
            const auto match = choiceLine.match(line);
            const std::string keyword = match.captured(1).toStdString();
            const std::string title = DecodePPDTitle(match.captured(3)).toStdString();
            ppd_option_t *option = ppdFindOption(ppd.get(), keyword.c_str());
            if (!match.hasMatch() || !expected.count(keyword) || !option ||
                title.size() >= PPD_MAX_TEXT) // libcups keeps only the first 80 bytes
                continue;
            const ppd_choice_t *choice = ppdFindChoice(option, match.captured(2).toLatin1());
            ASSERT_NE(choice, nullptr) << line.toStdString();
            EXPECT_EQ(Utf8Owned(CreatePPDTitleString(ppd.get(), choice->text)), title)
                << line.toStdString();
            ++choiceTitles;
        }
        for (const auto &[keyword, title] : expected) {
            if (title.size() >= PPD_MAX_TEXT)
                continue;
            CFStringRef text = nullptr;
            GetUITitleFromPPD(ppd.get(), keyword.c_str(), text);
            EXPECT_EQ(Utf8Owned(text), title) << keyword;
            ++optionTitles;
        }
        EXPECT_GT(optionTitles, 3);
        EXPECT_GT(choiceTitles, 10);
    }
}

} // namespace

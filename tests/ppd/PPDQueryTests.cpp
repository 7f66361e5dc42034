// The queries the panes make on a printer description: passcode digits, default choices, titles
// in its encoding, and whether its model is one a pop-up list (loaded from a .ui window) offers.
#include "PPDFixtures.h"
#include "PPDQueries.h"

#include <HIToolbox/QtBridge.h>

#include <QComboBox>
#include <QFile>
#include <QRegularExpression>
#include <QUiLoader>

#include <cstring>
#include <memory>
#include <set>

using namespace ppdtest;

namespace {

std::string OneOption(const char *keyword, const char *defaultChoice, const std::string &choices)
{
    return std::string("*OpenUI *") + keyword + "/" + keyword + " Title: PickOne\n*Default" +
           keyword + ": " + defaultChoice + "\n" + choices + "*CloseUI: *" + keyword + "\n";
}

// The option's title (or default choice) as a pane reads it; "<stale>" when it was not set.
std::string Title(ppd_file_t *ppd, const char *keyword, bool defaultChoice = false)
{
    const CFStringRef stale = CFSTR("stale");
    CFStringRef text = stale;
    EXPECT_EQ((defaultChoice ? GetUIDefaultFromPPD : GetUITitleFromPPD)(ppd, keyword, text), noErr);
    return text == stale ? "<stale>" : Utf8Owned(text);
}

TEST(PPDQueries, PasscodeDigitsAndDefaultChoicesComeFromTheDescription)
{
    for (const auto &[defaultChoice, expected] :
         {std::pair("4Digits", 4), {"Min10", 10}, {"1a2", 12}, {"None", 0}, {"08", 8}, {"6", 6}}) {
        auto ppd = OpenInlinePPD(OneOption(kPPDMinimunDigitPasscode, defaultChoice,
                                           std::string("*VZMinDigitPasscode ") + defaultChoice +
                                               "/Minimum: \"\"\n*VZMinDigitPasscode O/O: \"\"\n"));
        ASSERT_TRUE(ppd);
        EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), expected);
        EXPECT_TRUE(CheckPPDKeyIsExist(ppd.get(), kPPDMinimunDigitPasscode));
    }
    auto ppd = OpenInlinePPD(OneOption("Duplex", "None", "*Duplex None/Off: \"\"\n") +
                             OneOption("VZToner", "On", "*VZToner On/On: \"\"\n"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), 0);
    EXPECT_FALSE(CheckPPDKeyIsExist(ppd.get(), kPPDMinimunDigitPasscode));
    EXPECT_TRUE(CheckPPDKeyIsExist(ppd.get(), "Duplex"));
    EXPECT_EQ(GetPWMiniIntValueFromPPD(nullptr, kPPDMinimunDigitPasscode), 0);
    EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), nullptr), 0);
    EXPECT_FALSE(CheckPPDKeyIsExist(nullptr, "Duplex"));
    // Digits are collected within the given length; a sign is no digit; NUL ends the text.
    const std::tuple<const char *, unsigned, int> digits[] = {
        {"4Digits", 7, 4}, {"1a2", 3, 12}, {"1a2", 2, 1},   {"1a2", 0, 0},      {"None", 4, 0},
        {"12", 99, 12},    {"-5", 2, 5},   {nullptr, 4, 0}, {"99999", 5, 99999}};
    for (const auto &[text, length, expected] : digits)
        EXPECT_EQ(getIntFromString(text, length), expected) << (text ? text : "null") << length;

    // Default choices are matched exactly and give their name and title.
    const CFStringRef names[] = {CFSTR("Off"), CFSTR("On")};
    const char *choices = "*VZToner On/On: \"\"\n*VZToner Off/Off: \"\"\n*VZToner on/on: \"\"\n";
    for (const auto &[defaultChoice, expected] : {std::pair("On", 1), {"Off", 0}, {"on", -1}}) {
        auto toner = OpenInlinePPD(OneOption("VZToner", defaultChoice, choices));
        ASSERT_TRUE(toner);
        EXPECT_EQ(GetValueFromPPD(toner.get(), "VZToner", names, 2), expected) << defaultChoice;
    }
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZMissing", names, 2), -1);
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", names, 1), -1) << "only count names count";
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", nullptr, 2), -1);
    const CFStringRef withGap[] = {nullptr, CFSTR("On")};
    EXPECT_EQ(GetValueFromPPD(ppd.get(), "VZToner", withGap, 2), 1);
    EXPECT_EQ(Title(ppd.get(), "VZToner", true), "On");
    EXPECT_EQ(Title(ppd.get(), "VZToner"), "VZToner Title");
    EXPECT_EQ(Title(ppd.get(), "VZMissing", true), "<null>");
    EXPECT_EQ(Title(ppd.get(), "VZMissing"), "<null>");
    EXPECT_EQ(Title(nullptr, "VZMissing"), "<null>");
}

// Descriptions whose lang_encoding the test sets: libcups itself only ever reports "UTF-8" (for
// any declared encoding) or nothing. Texts left in the file's own bytes (as a description built
// without libcups' conversion holds them) are read in the encoding the description names.
TEST(PPDQueries, LanguageEncodingFollowsTheTableCaseSensitivelyAndReadsLegacyBytes)
{
    const std::tuple<const char *, CFStringEncoding, const char *, const char *> cases[] = {
        {"ISOLatin1", kCFStringEncodingISOLatin1, "Unit\xE9", "Unit\u00e9"},
        {"WindowsANSI", kCFStringEncodingWindowsLatin1, "\x93Q\x94", "\u201cQ\u201d"},
        {"JIS83-RKSJ", kCFStringEncodingMacJapanese, "\x83\x65\x83\x58", "\u30c6\u30b9"},
        {"UTF-8", kCFStringEncodingUTF8, "Unit\xE9", "Unit\u00c8"}, // invalid: MacRoman at last
        {"UTF8", kCFStringEncodingUTF8, "Unit\xC3\xA9", "Unit\u00e9"},
        {"utf-8", kCFStringEncodingMacRoman, "Unit\x8E", "Unit\u00e9"},
        {"isolatin1", kCFStringEncodingMacRoman, "Unit\x8E", "Unit\u00e9"},
        {"ISOLatin2", kCFStringEncodingMacRoman, "Unit\x8E", "Unit\u00e9"},
        {"UTF-8 ", kCFStringEncodingMacRoman, "Unit\x8E", "Unit\u00e9"},
        {"", kCFStringEncodingMacRoman, "Unit\x8E", "Unit\u00e9"},
        {nullptr, kCFStringEncodingMacRoman, "Unit\x8E", "Unit\u00e9"},
        {nullptr, kCFStringEncodingMacRoman, "Unit\xC3\xA9", "Unit\u00e9"},
        // Already UTF-8, as libcups leaves it.
        {"ISOLatin1", kCFStringEncodingISOLatin1, "Unit\xC3\xA9", "Unit\u00e9"}};
    auto ppd = OpenInlinePPD(OneOption("VZUnit", "On", "*VZUnit On/On: \"\"\n"));
    ASSERT_TRUE(ppd);
    ppd_option_t *option = ppdFindOption(ppd.get(), "VZUnit");
    ASSERT_NE(option, nullptr);
    char *const libcupsEncoding = ppd->lang_encoding;
    for (const auto &[name, encoding, bytes, title] : cases) {
        SCOPED_TRACE(name ? name : "(none)");
        ppd->lang_encoding = const_cast<char *>(name);
        CFStringEncoding found = 0x12345;
        GetCFStringEncodingFromPPD(ppd.get(), &found);
        EXPECT_EQ(found, encoding);
        std::strncpy(option->text, bytes, sizeof option->text - 1);
        EXPECT_EQ(Title(ppd.get(), "VZUnit"), title);
    }
    ppd->lang_encoding = libcupsEncoding;
    EXPECT_EQ(CreatePPDTitleString(ppd.get(), nullptr), nullptr);
    CFStringEncoding encoding = 0x12345;
    GetCFStringEncodingFromPPD(nullptr, &encoding);
    EXPECT_EQ(encoding, kCFStringEncodingMacRoman);
    GetCFStringEncodingFromPPD(nullptr, nullptr); // nothing to set, nothing happens
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
    // Offered: the item itself, in the file's Latin-1 bytes as libcups leaves them, or in UTF-8.
    // Not offered: shorter or longer than the item, in another case, or empty.
    int n = 0;
    for (const char *model : {"Kyocera FS-3700+", "Mod\xE8le Veltra", "Mod\xC3\xA8le Veltra",
                              "Kyocera FS-3700", "Kyocera FS-3700+ KX", "kyocera fs-3700+", ""}) {
        auto p = OpenInlinePPD(std::string("*ModelName: \"") + model + "\"\n");
        ASSERT_TRUE(p);
        EXPECT_EQ(CheckPPDCompatible(p.get(), popup), ++n <= 3 ? noErr : kPPDModelNotSupported)
            << model;
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

// The file's own text of a title: Latin-1 bytes with <hex> runs, as the PPD format writes it.
std::string DecodePPDTitle(const QString &raw)
{
    QByteArray bytes;
    const QByteArray latin1 = raw.toLatin1();
    for (qsizetype i = 0; i < latin1.size(); ++i) {
        const qsizetype end = latin1[i] == '<' ? latin1.indexOf('>', i) : -1;
        bytes += end > i ? QByteArray::fromHex(latin1.mid(i + 1, end - i - 1)) : latin1.mid(i, 1);
        i = std::max(i, end);
    }
    return QString::fromLatin1(bytes).toStdString();
}

// Real Latin-1 descriptions, a French Kyocera (accents) and a Sharp (another layout): each title
// the file spells out reads as a reading of the file that does not go through libcups finds it.
TEST(PPDQueries, EveryTitleOfARealDescriptionMatchesTheFileText)
{
    for (int real : {kKyoceraFrench, kSharp}) {
        SCOPED_TRACE(kRealPPDs[real].name);
        auto ppd = OpenRealPPD(kRealPPDs[real]);
        ASSERT_TRUE(ppd);
        QFile file(QString::fromStdString(RealPPDPath(kRealPPDs[real])));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(file.readAll()).split(u'\n');
        // Options come before their choices; titles past libcups' 80 bytes are cut short.
        std::set<std::string> options;
        const QRegularExpression openUI(R"(^\*(?:JCL)?OpenUI \*([^/:\s]+)/([^:\r\n]+):)");
        const QRegularExpression choiceLine(R"(^\*([^\s:/]+) ([^/:\s]+)/([^:\r\n]+):)");
        int optionTitles = 0, choiceTitles = 0;
        for (const QString &line : lines) {
            const auto option = openUI.match(line), choice = choiceLine.match(line);
            const auto &match = option.hasMatch() ? option : choice;
            const std::string keyword = match.captured(1).toStdString();
            const std::string title = DecodePPDTitle(match.captured(option.hasMatch() ? 2 : 3));
            if (!match.hasMatch() || title.size() >= PPD_MAX_TEXT)
                continue;
            if (option.hasMatch() && options.insert(keyword).second && ++optionTitles) {
                EXPECT_EQ(Title(ppd.get(), keyword.c_str()), title) << keyword;
            } else if (!option.hasMatch() && options.count(keyword) && ++choiceTitles) {
                const ppd_choice_t *found = ppdFindChoice(ppdFindOption(ppd.get(), keyword.c_str()),
                                                          choice.captured(2).toLatin1());
                ASSERT_NE(found, nullptr) << line.toStdString();
                EXPECT_EQ(Utf8Owned(CreatePPDTitleString(ppd.get(), found->text)), title)
                    << line.toStdString();
            }
        }
        EXPECT_TRUE(optionTitles > 3 && choiceTitles > 10) << optionTitles << " " << choiceTitles;
        // A default as written; declared Latin-1 is UTF-8 after conversion; no secure printing.
        EXPECT_EQ(Title(ppd.get(), real == kSharp ? "Duplex" : "Option16", true),
                  real == kSharp ? "None" : "False");
        CFStringEncoding encoding = 0;
        GetCFStringEncodingFromPPD(ppd.get(), &encoding);
        EXPECT_EQ(encoding, kCFStringEncodingUTF8);
        EXPECT_FALSE(CheckPPDKeyIsExist(ppd.get(), kPPDMinimunDigitPasscode));
        EXPECT_EQ(GetPWMiniIntValueFromPPD(ppd.get(), kPPDMinimunDigitPasscode), 0);
        EXPECT_FALSE(CheckPPDKeyIsExist(ppd.get(), kPPDHardDiskKey));
    }
}

} // namespace

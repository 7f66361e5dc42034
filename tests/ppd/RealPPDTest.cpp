// The queries on real printer descriptions, all written in ISO Latin-1: titles must read as the
// file's author wrote them. A French Kyocera (accented titles, a supported model) and a Sharp
// (another vendor's layout) stand for the rest; each one read costs an extraction from the driver.
#include "PPDFixtures.h"
#include "PPDQueries.h"
#include "PPDTestText.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <map>

using namespace ppdtest;

namespace {

const RealPPD *const kSample[] = {&kKyoceraFrench, &kSharp};

TEST(RealPPD, TitlesDefaultsAndEncodingReadAsWritten)
{
    const struct
    {
        const RealPPD *ppd;
        const char *keyword;
        const char *title;
        const char *defaultChoice;
    } cases[] = {
        {&kKyoceraFrench, "Option16", "Unit\u00e9 Duplex", "False"},
        {&kKyoceraFrench, "Option17", "P\u00e9riph\u00e9rie de Sortie", nullptr},
        {&kKyoceraFrench, "PageSize", nullptr, "A4"},
        {&kSharp, "Option5", "Input Tray Options", nullptr},
        {&kSharp, "Duplex", nullptr, "None"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.ppd->name) + " " + c.keyword);
        auto ppd = OpenRealPPD(*c.ppd);
        ASSERT_TRUE(ppd);
        EXPECT_TRUE(CheckPPDKeyIsExist(ppd.get(), c.keyword));
        if (c.title) {
            CFStringRef title = nullptr;
            EXPECT_EQ(GetUITitleFromPPD(ppd.get(), c.keyword, title), noErr);
            EXPECT_EQ(Utf8Owned(title), c.title);
        }
        if (c.defaultChoice) {
            CFStringRef choice = nullptr;
            GetUIDefaultFromPPD(ppd.get(), c.keyword, choice);
            EXPECT_EQ(Utf8Owned(choice), c.defaultChoice);
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
    auto ppd = OpenRealPPD(kKyoceraFrench);
    ASSERT_TRUE(ppd);
    const ppd_option_t *option = ppdFindOption(ppd.get(), "Option16");
    ASSERT_NE(option, nullptr);
    std::map<std::string, std::string> titles;
    for (int i = 0; i < option->num_choices; ++i)
        titles[option->choices[i].choice] =
            Utf8Owned(CreatePPDTitleString(ppd.get(), option->choices[i].text));
    EXPECT_EQ(titles["False"], "Non Install\u00e9");
    EXPECT_EQ(titles["True"], "Install\u00e9");
}

// The file's own text of a title: Latin-1 bytes with <hex> runs, as the PPD format writes it.
QString DecodePPDTitle(const QByteArray &raw)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '<') {
            const qsizetype end = raw.indexOf('>', i);
            if (end > i) {
                bytes += QByteArray::fromHex(raw.mid(i + 1, end - i - 1));
                i = end;
                continue;
            }
        }
        bytes += raw[i];
    }
    return QString::fromLatin1(bytes);
}

// Every title the file spells out, checked against a reading of the file that does not go
// through libcups: option titles from *OpenUI lines, choice titles from the choice lines.
TEST(RealPPD, EveryTitleMatchesTheFileText)
{
    const QRegularExpression openUI(
        QStringLiteral(R"(^\*(?:JCL)?OpenUI \*([^/:\s]+)/([^:\r\n]+):)"));
    for (const RealPPD *real : kSample) {
        SCOPED_TRACE(real->name);
        auto ppd = OpenRealPPD(*real);
        ASSERT_TRUE(ppd);
        QFile file(QString::fromStdString(RealPPDPath(*real)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');

        int optionTitles = 0, choiceTitles = 0;
        for (const QByteArray &line : lines) {
            const auto match = openUI.match(QString::fromLatin1(line));
            if (!match.hasMatch())
                continue;
            const QByteArray keyword = match.captured(1).toLatin1();
            const QString expected = DecodePPDTitle(match.captured(2).toLatin1());
            if (expected.toUtf8().size() >= PPD_MAX_TEXT)
                continue; // libcups keeps only the first 80 bytes
            CFStringRef title = nullptr;
            GetUITitleFromPPD(ppd.get(), keyword.constData(), title);
            EXPECT_EQ(Utf8Owned(title), expected.toStdString()) << keyword.toStdString();
            ++optionTitles;

            ppd_option_t *option = ppdFindOption(ppd.get(), keyword.constData());
            ASSERT_NE(option, nullptr);
            const QRegularExpression choiceLine(
                QStringLiteral(R"(^\*%1 ([^/:\s]+)/([^:\r\n]+):)")
                    .arg(QRegularExpression::escape(QString::fromLatin1(keyword))));
            for (const QByteArray &other : lines) {
                const auto choiceMatch = choiceLine.match(QString::fromLatin1(other));
                if (!choiceMatch.hasMatch())
                    continue;
                const QByteArray name = choiceMatch.captured(1).toLatin1();
                const QString choiceExpected = DecodePPDTitle(choiceMatch.captured(2).toLatin1());
                if (choiceExpected.toUtf8().size() >= PPD_MAX_TEXT)
                    continue;
                const ppd_choice_t *choice = ppdFindChoice(option, name.constData());
                ASSERT_NE(choice, nullptr) << name.toStdString();
                EXPECT_EQ(Utf8Owned(CreatePPDTitleString(ppd.get(), choice->text)),
                          choiceExpected.toStdString())
                    << keyword.toStdString() << " " << name.toStdString();
                ++choiceTitles;
            }
        }
        EXPECT_GT(optionTitles, 3);
        EXPECT_GT(choiceTitles, 10);
    }
}

} // namespace

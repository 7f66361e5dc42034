// Text fields and static texts through control-data tags.
#include "ToolboxFixtures.h"

#include "CoreFoundation/CFURL.h"

#include <QLabel>
#include <QLineEdit>

#include <cstring>

namespace {

CFRef<CFStringRef> CopyText(ControlRef control, ResType tag, OSStatus *status = nullptr)
{
    CFStringRef text = nullptr;
    Size actual = 0;
    const OSStatus result =
        GetControlData(control, kControlEditTextPart, tag, sizeof(text), &text, &actual);
    if (status)
        *status = result;
    return CFRef<CFStringRef>(text);
}

OSStatus SetText(ControlRef control, ResType tag, const char *utf8)
{
    CFRef<CFStringRef> text = MakeCFString(utf8);
    CFStringRef value = text.get();
    return SetControlData(control, kControlEditTextPart, tag, sizeof(value), &value);
}

} // namespace

TEST(ControlData, TagsApplyOnlyToTheirKinds)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    const struct
    {
        OSType signature;
        ResType tag;
        bool supported;
    } cases[] = {
        {'tedt', 'text', true},  {'tedt', 'cfst', true},  {'tedt', 'pwcf', true},
        {'tedt', 'pass', true},  {'tedt', 'fltr', true},  {'tpwd', 'pwcf', true},
        {'tpwd', 'pass', true},  {'tstx', 'text', true},  {'tstx', 'cfst', true},
        {'tstx', 'fltr', false}, {'tstx', 'pwcf', false}, {'tstx', 'pass', false},
        {'tedt', 'date', false}, {'tchk', 'cfst', false}, {'tpop', 'text', false},
        {'tbtn', 'cfst', false}, {'test', 'text', false},
    };
    for (const auto &c : cases) {
        ControlRef control = window.control(c.signature, 1);
        Size size = 0;
        const OSStatus expected = c.supported ? noErr : errDataNotSupported;
        EXPECT_EQ(GetControlDataSize(control, 0, c.tag, &size), expected)
            << std::hex << c.signature << "/" << c.tag;
        if (!c.supported) {
            char buffer[64] = {};
            Size actual = 0;
            EXPECT_EQ(GetControlData(control, 0, c.tag, sizeof(buffer), buffer, &actual),
                      errDataNotSupported);
            EXPECT_EQ(SetControlData(control, 0, c.tag, 1, buffer), errDataNotSupported);
        }
    }
}

TEST(ControlData, CFStringTagsRoundTripAndHandOutNewReferences)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    const struct
    {
        OSType signature;
        ResType tag;
        const char *text;
    } cases[] = {
        {'tedt', 'cfst', "user01"}, {'tedt', 'cfst', "Ünïcødé 日本語 テスト"},
        {'tpwd', 'pwcf', "123456"}, {'tstx', 'cfst', "Enter the passcode <4 digits> & press OK"},
        {'tedt', 'cfst', ""},
    };
    for (const auto &c : cases) {
        ControlRef control = window.control(c.signature, 1);
        ASSERT_EQ(SetText(control, c.tag, c.text), noErr) << c.text;
        OSStatus status = paramErr;
        CFRef<CFStringRef> back = CopyText(control, c.tag, &status);
        ASSERT_EQ(status, noErr);
        EXPECT_EQ(QStringFromCF(back), QString::fromUtf8(c.text));
        EXPECT_EQ(CFGetRetainCount(back), 1) << "the caller owns the only reference";
    }
    EXPECT_EQ(window.widgetOf<QLineEdit>('tpwd', 1)->text(), QStringLiteral("123456"));
    EXPECT_EQ(window.widgetOf<QLabel>('tstx', 1)->textFormat(), Qt::PlainText);
}

TEST(ControlData, LegacyTextSizeIsTheDisplayLength)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    const struct
    {
        const char *text;
        Size size;
        std::vector<UInt8> bytes;
    } cases[] = {
        {"abc", 3, {'a', 'b', 'c'}},
        {"caf\xC3\xA9", 4, {'c', 'a', 'f', 0xE9}},                 // é is Latin-1: one byte
        {"\xE6\x97\xA5\xE6\x9C\xAC", 4, {0x65, 0xE5, 0x67, 0x2C}}, // 日本: two bytes each
        {"a\xEF\xBD\xB1", 3, {'a', 0xFF, 0x71}},                   // half-width ｱ
        {"", 0, {}},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(SetText(field, 'cfst', c.text), noErr);
        Size size = -1;
        ASSERT_EQ(GetControlDataSize(field, 0, kControlEditTextTextTag, &size), noErr);
        EXPECT_EQ(size, c.size) << c.text;
        UInt8 buffer[255] = {};
        Size actual = -1;
        ASSERT_EQ(
            GetControlData(field, 0, kControlEditTextTextTag, sizeof(buffer), buffer, &actual),
            noErr);
        EXPECT_EQ(actual, c.size);
        EXPECT_EQ(std::vector<UInt8>(buffer, buffer + actual), c.bytes) << c.text;
    }
}

TEST(ControlData, SmallBufferGetsTheBeginningAndTheWholeSize)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    const QString sixty(60, QLatin1Char('x'));
    ASSERT_EQ(SetText(field, 'cfst', sixty.toUtf8().constData()), noErr);
    char buffer[8] = {};
    Size actual = 0;
    ASSERT_EQ(GetControlData(field, 0, 'text', 4, buffer, &actual), noErr);
    EXPECT_EQ(actual, 60);
    EXPECT_STREQ(buffer, "xxxx");
    CFStringRef text = nullptr;
    EXPECT_EQ(GetControlData(field, 0, 'cfst', 2, &text, &actual), paramErr);
    EXPECT_EQ(text, nullptr);
}

TEST(ControlData, LegacyBytesSetTheTextAsLatin1)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tpwd', 1);
    const char digits[] = "123456789012";
    ASSERT_EQ(SetControlData(field, 0, kControlEditTextPasswordTag, 12, digits), noErr);
    EXPECT_EQ(window.widgetOf<QLineEdit>('tpwd', 1)->text(), QStringLiteral("123456789012"));
    const char latin1[] = {'n', char(0xE9), '\0', 'x'};
    ASSERT_EQ(SetControlData(window.control('tstx', 1), 0, 'text', sizeof(latin1), latin1), noErr);
    EXPECT_EQ(window.widgetOf<QLabel>('tstx', 1)->text(), QString::fromUtf8("n\xC3\xA9"));
}

TEST(ControlData, BadArgumentsAreRefused)
{
    NibWindow window("Window");
    ASSERT_EQ(window.status(), noErr);
    ControlRef field = window.control('tedt', 1);
    ASSERT_EQ(SetText(field, 'cfst', "kept"), noErr);
    CFStringRef none = nullptr;
    EXPECT_EQ(SetControlData(field, 0, 'cfst', sizeof(none), &none), paramErr);
    // A CF object that is no string.
    CFRef<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/tmp"), kCFURLPOSIXPathStyle, true));
    CFTypeRef notAString = url.get();
    EXPECT_EQ(SetControlData(field, 0, 'cfst', sizeof(notAString), &notAString), paramErr);
    EXPECT_EQ(SetControlData(field, 0, 'text', 5, nullptr), paramErr);
    EXPECT_EQ(SetControlData(field, 0, 'text', -1, "x"), paramErr);
    EXPECT_EQ(GetControlData(field, 0, 'text', -1, nullptr, nullptr), paramErr);
    EXPECT_EQ(GetControlDataSize(field, 0, 'text', nullptr), paramErr);
    EXPECT_EQ(window.widgetOf<QLineEdit>('tedt', 1)->text(), QStringLiteral("kept"));
}

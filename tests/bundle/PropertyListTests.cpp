// The XML property list reader behind every Info.plist: each value type, and a clear refusal
// of damaged text.
#include <CoreFoundation/CFPropertyList.h>
#include <CoreFoundation/CFQt.h>
#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

namespace {

CFRef<CFTypeRef> parse(const std::string &xml, std::string *error = nullptr)
{
    std::string ignored;
    return CFRef<CFTypeRef>(
        veltra::CreatePropertyListFromXMLData(xml.data(), xml.size(), error ? error : &ignored));
}

std::string wrap(const std::string &value)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           value + "\n</plist>\n";
}

TEST(PropertyList, ReadsEveryValueType)
{
    CFRef<CFTypeRef> plist = parse(wrap(R"(<dict>
        <key>text</key><string>a &lt;b&gt; &amp; "c"</string>
        <key>empty</key><string/>
        <key>number</key><integer>2147483648</integer>
        <key>negative</key><integer>-7</integer>
        <key>hex</key><integer>0x1F</integer>
        <key>real</key><real>-0.125</real>
        <key>yes</key><true/>
        <key>no</key><false/>
        <key>bytes</key><data>AAEC/w==</data>
        <key>list</key><array><string>one</string><integer>2</integer><array/></array>
        <key>nested</key><dict><key>inner</key><string>value</string></dict>
    </dict>)"));
    ASSERT_TRUE(plist);
    ASSERT_EQ(CFGetTypeID(plist), CFDictionaryGetTypeID());
    const auto dict = static_cast<CFDictionaryRef>(plist.get());
    EXPECT_EQ(CFDictionaryGetCount(dict), 11);

    auto get = [dict](const char *key) {
        CFRef<CFStringRef> k(CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8));
        return CFDictionaryGetValue(dict, k);
    };
    EXPECT_EQ(QStringFromCF(static_cast<CFStringRef>(get("text"))), "a <b> & \"c\"");
    EXPECT_EQ(CFStringGetLength(static_cast<CFStringRef>(get("empty"))), 0);
    SInt64 big = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(get("number")), kCFNumberSInt64Type, &big);
    EXPECT_EQ(big, 2147483648LL);
    SInt32 small = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(get("negative")), kCFNumberSInt32Type, &small);
    EXPECT_EQ(small, -7);
    CFNumberGetValue(static_cast<CFNumberRef>(get("hex")), kCFNumberSInt32Type, &small);
    EXPECT_EQ(small, 31);
    double real = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(get("real")), kCFNumberFloat64Type, &real);
    EXPECT_DOUBLE_EQ(real, -0.125);
    EXPECT_EQ(get("yes"), kCFBooleanTrue);
    EXPECT_EQ(get("no"), kCFBooleanFalse);
    const auto bytes = static_cast<CFDataRef>(get("bytes"));
    ASSERT_EQ(CFDataGetLength(bytes), 4);
    EXPECT_EQ(CFDataGetBytePtr(bytes)[3], 0xFF);
    const auto list = static_cast<CFArrayRef>(get("list"));
    ASSERT_EQ(CFArrayGetCount(list), 3);
    EXPECT_EQ(CFGetTypeID(CFArrayGetValueAtIndex(list, 2)), CFArrayGetTypeID());
    const auto nested = static_cast<CFDictionaryRef>(get("nested"));
    EXPECT_EQ(QStringFromCF(static_cast<CFStringRef>(CFDictionaryGetValue(nested, CFSTR("inner")))),
              "value");
}

TEST(PropertyList, KeepsDictionaryKeysInFileOrder)
{
    CFRef<CFTypeRef> plist =
        parse(wrap("<dict><key>b</key><true/><key>a</key><true/><key>c</key><true/></dict>"));
    ASSERT_TRUE(plist);
    const void *keys[3] = {};
    CFDictionaryGetKeysAndValues(static_cast<CFDictionaryRef>(plist.get()), keys, nullptr);
    EXPECT_EQ(QStringFromCF(static_cast<CFStringRef>(keys[0])), "b");
    EXPECT_EQ(QStringFromCF(static_cast<CFStringRef>(keys[1])), "a");
    EXPECT_EQ(QStringFromCF(static_cast<CFStringRef>(keys[2])), "c");
}

TEST(PropertyList, RefusesDamagedTextWithTheReasonAndLine)
{
    struct Case
    {
        std::string xml;
        const char *reason; // part of the error
    };
    const Case cases[] = {
        {"", "line"},
        {"<dict></dict>", "no <plist> element"},
        {wrap("<dict><key>a</key><string>x</string>"), "line"}, // never closed
        {wrap("<dict><key>a</key></dict>"), "has no value"},
        {wrap("<dict><key>a</key><key>b</key><true/></dict>"), "has no value"},
        {wrap("<dict><string>x</string></dict>"), "where a <key> belongs"},
        {wrap("<integer>12abc</integer>"), "not a 64-bit integer"},
        {wrap("<integer>99999999999999999999</integer>"), "not a 64-bit integer"},
        {wrap("<real>fast</real>"), "not a number"},
        {wrap("<true>yes</true>"), "must be empty"},
        {wrap("<data>@@@@</data>"), "not valid Base64"},
        {wrap("<widget/>"), "unknown element <widget>"},
        {wrap("<array>loose text</array>"), "unexpected text"},
        {wrap("<string>a</string><string>b</string>"), "more than one value"},
        {wrap(""), "holds no value"},
        {wrap("<string><b>bold</b></string>"), "line"},
        {wrap("<string>\xC3\x28</string>"), "not valid UTF-8"},
        {wrap("<string>&undefined;</string>"), "line"},
    };
    for (const Case &c : cases) {
        std::string error;
        CFRef<CFTypeRef> plist = parse(c.xml, &error);
        EXPECT_FALSE(plist) << c.xml;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.xml << "\nerror: " << error;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
    }
}

TEST(PropertyList, RefusesNestingDeeperThanAnyInfoPlistNeeds)
{
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<array>";
    for (int i = 0; i < 5000; ++i)
        deep += "</array>";
    std::string error;
    EXPECT_FALSE(parse(wrap(deep), &error));
    EXPECT_NE(error.find("nested too deeply"), std::string::npos) << error;

    std::string shallow;
    for (int i = 0; i < 20; ++i)
        shallow += "<array>";
    for (int i = 0; i < 20; ++i)
        shallow += "</array>";
    EXPECT_TRUE(parse(wrap(shallow)));
}

TEST(PropertyList, ErrorOfAFileNamesTheFile)
{
    std::string error;
    EXPECT_EQ(veltra::CreatePropertyListFromXMLFile("/nonexistent/Info.plist", &error), nullptr);
    EXPECT_EQ(error.rfind("/nonexistent/Info.plist: ", 0), 0u) << error;
}

} // namespace

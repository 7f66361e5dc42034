// Bundles as the panes use them: the property list reader behind every Info.plist, Info values,
// resources, localized strings, executables, and clear failures for damaged or missing bundles.
#include "../host/fixture/TestPDEControl.h"

#include <CoreFoundation/CFPropertyList.h>

#include <gtest/gtest.h>

namespace {

using testpde::kBundleDir;
const std::string kDataDir = VELTRA_TEST_DATA_DIR;

CFBundleRef openBundle(const std::string &path)
{
    return CFBundleCreate(nullptr, testpde::urlOf(path));
}

CFRef<CFStringRef> cfText(const char *utf8)
{
    return CFRef<CFStringRef>(utf8 ? CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8)
                                   : nullptr);
}

// A value as text: "quoted", number, true/false, <hex>, [array], {key=value} in order, a path.
std::string describe(CFTypeRef value)
{
    if (!value)
        return "null";
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID())
        return '"' + QStringFromCF(static_cast<CFStringRef>(value)).toStdString() + '"';
    if (type == CFBooleanGetTypeID())
        return value == kCFBooleanTrue ? "true" : "false";
    if (type == CFURLGetTypeID()) {
        CFRef<CFStringRef> path(
            CFURLCopyFileSystemPath(static_cast<CFURLRef>(value), kCFURLPOSIXPathStyle));
        return QStringFromCF(path).toStdString();
    }
    if (type == CFNumberGetTypeID()) {
        SInt64 whole = 0;
        double real = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt64Type, &whole);
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberFloat64Type, &real);
        return double(whole) == real ? std::to_string(whole) : std::to_string(real);
    }
    if (type == CFDataGetTypeID()) {
        const auto data = static_cast<CFDataRef>(value);
        const QByteArray bytes(reinterpret_cast<const char *>(CFDataGetBytePtr(data)),
                               CFDataGetLength(data));
        return "<" + bytes.toHex().toStdString() + ">";
    }
    std::string text;
    if (type == CFArrayGetTypeID()) {
        const auto array = static_cast<CFArrayRef>(value);
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i)
            text += (i ? "," : "") + describe(CFArrayGetValueAtIndex(array, i));
        return "[" + text + "]";
    }
    const auto dict = static_cast<CFDictionaryRef>(value);
    std::vector<const void *> keys(size_t(CFDictionaryGetCount(dict))), values(keys.size());
    CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
    for (size_t i = 0; i < keys.size(); ++i)
        text += (i ? "," : "") + describe(keys[i]) + "=" + describe(values[i]);
    return "{" + text + "}";
}

std::string wrap(const std::string &value)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD "
           "PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           value + "\n</plist>\n";
}

// The value read from xml, described, or "error: " and why it was refused.
std::string parse(const std::string &xml)
{
    std::string error;
    CFRef<CFTypeRef> plist(veltra::CreatePropertyListFromXMLData(xml.data(), xml.size(), &error));
    return plist ? describe(plist) : "error: " + error;
}

TEST(PropertyList, ReadsEveryValueTypeInFileOrderAndRefusesDamagedText)
{
    const std::string xml = wrap(R"(<dict>
        <key>text</key><string>a &lt;b&gt; &amp; "c"</string> <key>empty</key><string/>
        <key>number</key><integer>2147483648</integer> <key>negative</key><integer>-7</integer>
        <key>hex</key><integer>0x1F</integer> <key>real</key><real>-0.125</real>
        <key>yes</key><true/> <key>no</key><false/> <key>bytes</key><data>AAEC/w==</data>
        <key>list</key><array><string>one</string><integer>2</integer><array/></array>
        <key>nested</key><dict><key>inner</key><string>value</string></dict>
    </dict>)");
    EXPECT_EQ(parse(xml),
              R"({"text"="a <b> & "c"","empty"="","number"=2147483648,"negative"=-7,"hex"=31,)"
              R"("real"=-0.125000,"yes"=true,"no"=false,"bytes"=<000102ff>,)"
              R"("list"=["one",2,[]],"nested"={"inner"="value"}})");

    // Damaged text is refused with the reason and its line.
    const auto nest = [](int depth) {
        return wrap(QString("<array>").repeated(depth).toStdString() +
                    QString("</array>").repeated(depth).toStdString());
    };
    const std::pair<std::string, const char *> rows[] = {
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
        {nest(5000), "nested too deeply"}, // deeper than any Info.plist needs
    };
    for (const auto &[xml, reason] : rows) {
        const std::string said = parse(xml);
        EXPECT_EQ(said.rfind("error: line ", 0), 0u) << xml << "\n" << said;
        EXPECT_NE(said.find(reason), std::string::npos) << xml << "\n" << said;
    }
    EXPECT_EQ(parse(nest(20)), std::string(20, '[') + std::string(20, ']'));
    std::string error;
    EXPECT_EQ(veltra::CreatePropertyListFromXMLFile("/nonexistent/Info.plist", &error), nullptr);
    EXPECT_EQ(error.rfind("/nonexistent/Info.plist: ", 0), 0u) << error;
}

TEST(Bundle, InfoValuesResourcesAndLocalizedStringsReadBack)
{
    CFBundleRef bundle = openBundle(kBundleDir);
    ASSERT_NE(bundle, nullptr);
    for (const auto &[key, value] : {std::pair{"CFBundleShortVersionString", "\"2.5.1\""},
                                     {"VeltraTestEscaped", "\"Tom & Jerry <3 日本\""},
                                     {"VeltraTestTrue", "true"},
                                     {"NoSuchKey", "null"}})
        EXPECT_EQ(describe(CFBundleGetValueForInfoDictionaryKey(bundle, cfText(key))), value);
    // Found by identifier once open, and opened once per directory.
    EXPECT_EQ(describe(CFBundleGetIdentifier(bundle)), "\"com.veltra.test.pde\"");
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.veltra.test.pde")), bundle);
    EXPECT_EQ(openBundle(kBundleDir + "/"), bundle);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.veltra.test.never-opened")), nullptr);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(nullptr), nullptr);
    const std::string canonical =
        QDir(QString::fromStdString(kBundleDir)).canonicalPath().toStdString();
    EXPECT_EQ(describe(CFRef<CFURLRef>(CFBundleCopyBundleURL(bundle))), canonical);

    const std::string resources = canonical + "/Contents/Resources/";
    const struct
    {
        const char *name, *type, *subDir;
        std::string expected;
    } rows[] = {
        {"TestPane", "nib", nullptr, resources + "TestPane.nib"},
        {"TestPage", "htm", "Help", resources + "Help/TestPage.htm"},
        {"sample", "txt", "Data", resources + "Data/sample.txt"},
        {"sample.txt", nullptr, "Data", resources + "Data/sample.txt"},
        {"TestPane", ".nib", nullptr, resources + "TestPane.nib"},
        {"Window", "ui", "TestPane.nib", resources + "TestPane.nib/Window.ui"},
        {"Missing", "nib", nullptr, "null"},
        {"TestPage", "html", "Help", "null"},
        {"TestPage", "htm", nullptr, "null"}, // pages are in the Help folder only
        {"Info", "plist", "..", "null"},      // nothing outside Resources
        {"../Info", "plist", nullptr, "null"},
        {nullptr, "nib", nullptr, "null"},
    };
    for (const auto &row : rows) {
        CFRef<CFURLRef> url(CFBundleCopyResourceURL(bundle, cfText(row.name), cfText(row.type),
                                                    cfText(row.subDir)));
        EXPECT_EQ(describe(url), row.expected)
            << row.name << "." << row.type << " in " << row.subDir;
    }
    EXPECT_EQ(CFBundleCopyResourceURL(nullptr, CFSTR("TestPane"), CFSTR("nib"), nullptr), nullptr);

    // Localized strings come from the translation of the chosen language.
    CFBundleRef noTranslations = openBundle(kDataDir + "/bundles/NoFactories.plugin");
    const struct
    {
        const char *language, *key, *value, *table, *expected; // null table: "Localizable"
        CFBundleRef from;
    } strings[] = {
        {"ja", "Test Pane A", nullptr, nullptr, "テストA", bundle},
        {"ja_JP", "Test Pane A", nullptr, nullptr, "テストA", bundle}, // falls back to the language
        {"de", "Test Pane A", nullptr, nullptr, "Testbereich A", bundle},
        {"ja", "Test Pane A", nullptr, "Messages", "メッセージ表のA", bundle},
        {"ja", "Test Pane B", nullptr, nullptr, "Test Pane B", bundle},   // no translation: the key
        {"ja", "Untranslated", nullptr, nullptr, "Untranslated", bundle}, // unfinished entry
        {"ja", "Warning32", "Default text", nullptr, "Default text", bundle},
        {"ja", "Warning32", "", nullptr, "Warning32", bundle},          // empty default: the key
        {"fr", "Test Pane A", nullptr, nullptr, "Test Pane A", bundle}, // no file for the language
        {"ja", "Test Pane A", nullptr, "NoSuchTable", "Test Pane A", bundle},
        // A key the chosen language lacks comes from the bundle's own language (English).
        {"ja", "Greeting", nullptr, nullptr, "Hello from the development language", bundle},
        {"C", "Greeting", "Default", nullptr, "Hello from the development language", bundle},
        // A bundle without translations, or none at all, answers the key.
        {"ja", "PDE Title", nullptr, nullptr, "PDE Title", noTranslations},
        {"ja", "PDE Title", nullptr, nullptr, "PDE Title", nullptr},
    };
    for (const auto &row : strings) {
        VeltraBundleSetLanguage(row.language);
        CFRef<CFStringRef> text(CFBundleCopyLocalizedString(row.from, cfText(row.key),
                                                            cfText(row.value), cfText(row.table)));
        EXPECT_EQ(describe(text), '"' + std::string(row.expected) + '"')
            << row.language << ": " << row.key;
    }
    VeltraBundleSetLanguage("en");
}

TEST(Bundle, DamagedBundlesAndExecutablesAreRefusedWithAMessage)
{
    QTemporaryDir dir;
    const auto plugIn = [&](const char *name, const std::string &key, const std::string &value) {
        const std::string plist =
            "<plist><dict><key>" + key + "</key><string>" + value + "</string></dict></plist>";
        return testpde::writePlugIn(dir, name, plist.c_str());
    };
    const struct
    {
        std::string path;
        const char *message; // part of what stderr must say
        bool opens;          // the bundle opens but its executable does not load
    } rows[] = {
        {kDataDir + "/bundles/Malformed.plugin", "unreadable Info.plist", false},
        {kDataDir + "/bundles/NotADictionary.plugin", "does not hold a dictionary", false},
        {kDataDir + "/bundles/NoSuchBundle.plugin", "no such directory", false},
        {kDataDir + "/Veltra-Test.ppd", "no such directory", false}, // a file, not a bundle
        {plugIn("NoExec.plugin", "CFBundleIdentifier", "t.noexec"), "names no executable", true},
        {plugIn("Missing.plugin", "CFBundleExecutable", "Gone.so"), "Gone.so", true},
        {plugIn("Text.plugin", "CFBundleExecutable", "Text.so"), "Text.so", true},
    };
    QFile text(QString::fromStdString(rows[6].path) + "/Contents/Linux/Text.so");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a shared object") &&
                text.flush());
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        StderrCapture capture;
        CFBundleRef bundle = openBundle(row.path);
        EXPECT_EQ(bundle != nullptr, row.opens);
        EXPECT_FALSE(CFBundleLoadExecutable(bundle));
        EXPECT_FALSE(CFBundleIsExecutableLoaded(bundle));
        EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, CFSTR("Anything")), nullptr);
        const std::string said = capture.text();
        EXPECT_NE(said.find(row.message), std::string::npos) << said;
        EXPECT_NE(said.find(row.path.substr(row.path.rfind('/') + 1)), std::string::npos) << said;
    }
    StderrCapture capture;
    EXPECT_EQ(CFBundleCreate(nullptr, nullptr), nullptr);
    EXPECT_FALSE(capture.text().empty());

    // The test module loads and exports its functions.
    CFBundleRef bundle = openBundle(kBundleDir);
    ASSERT_TRUE(bundle && CFBundleLoadExecutable(bundle));
    EXPECT_TRUE(CFBundleIsExecutableLoaded(bundle));
    EXPECT_NE(CFBundleGetFunctionPointerForName(bundle, CFSTR("VeltraTestPaneFactoryA")), nullptr);
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, CFSTR("NoSuchFunction")), nullptr);
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, nullptr), nullptr);
}

} // namespace

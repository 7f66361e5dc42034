// Bundles as the panes use them: Info property list values, resources (nib directories, help
// pages), localized strings, and clear failures for damaged or missing bundles.
#include "../host/fixture/StderrCapture.h"

#include <CoreFoundation/CFQt.h>
#include <CoreFoundation/CoreFoundation.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::string kTestBundleDir = VELTRA_TEST_BINARY_DIR "/TestPDE.plugin";
const std::string kDataDir = VELTRA_TEST_DATA_DIR;

CFRef<CFURLRef> urlFor(const std::string &path)
{
    CFRef<CFStringRef> text(CFStringCreateWithQString(QString::fromStdString(path)));
    return CFRef<CFURLRef>(
        CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, true));
}

CFBundleRef openBundle(const std::string &path)
{
    return CFBundleCreate(nullptr, urlFor(path));
}

std::string pathOf(CFURLRef url)
{
    if (!url)
        return {};
    CFRef<CFStringRef> path(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle));
    return QStringFromCF(path).toStdString();
}

std::string textOf(CFTypeRef value)
{
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return "<not a string>";
    return QStringFromCF(static_cast<CFStringRef>(value)).toStdString();
}

CFRef<CFStringRef> cfText(const char *utf8)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8));
}

// Sets the language of localized strings for one test.
class LanguageScope
{
public:
    explicit LanguageScope(const char *language) { VeltraBundleSetLanguage(language); }
    ~LanguageScope() { VeltraBundleSetLanguage("en"); }
};

// A bundle directory written by a test, with the given Info.plist text.
std::string writeBundle(const QTemporaryDir &dir, const char *name, const std::string &plist)
{
    const QString contents = dir.filePath(QString::fromLatin1(name)) + "/Contents";
    QDir().mkpath(contents);
    QFile file(contents + "/Info.plist");
    file.open(QIODevice::WriteOnly);
    file.write(plist.data(), qint64(plist.size()));
    return dir.filePath(QString::fromLatin1(name)).toStdString();
}

TEST(Bundle, InfoPropertyListValuesReadBackWithTheirTypes)
{
    CFBundleRef bundle = openBundle(kTestBundleDir);
    ASSERT_NE(bundle, nullptr);

    EXPECT_EQ(
        textOf(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleShortVersionString"))),
        "2.5.1");
    EXPECT_EQ(textOf(CFBundleGetIdentifier(bundle)), "com.veltra.test.pde");
    EXPECT_EQ(textOf(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("VeltraTestEscaped"))),
              "Tom & Jerry <3 日本");

    // Values of the other types read as the property list reader gives them.
    EXPECT_EQ(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("VeltraTestTrue")),
              kCFBooleanTrue);
    EXPECT_EQ(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("NoSuchKey")), nullptr);
}

TEST(Bundle, IsFoundByIdentifierOnceOpenAndOpensOncePerDirectory)
{
    CFBundleRef bundle = openBundle(kTestBundleDir);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.veltra.test.pde")), bundle);
    EXPECT_EQ(openBundle(kTestBundleDir + "/"), bundle);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.veltra.test.never-opened")), nullptr);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(nullptr), nullptr);

    CFRef<CFURLRef> url(CFBundleCopyBundleURL(bundle));
    EXPECT_EQ(pathOf(url),
              QDir(QString::fromStdString(kTestBundleDir)).canonicalPath().toStdString());
}

TEST(Bundle, ResourceLookupFindsFilesNibDirectoriesAndHelpPages)
{
    CFBundleRef bundle = openBundle(kTestBundleDir);
    ASSERT_NE(bundle, nullptr);
    const std::string resources =
        QDir(QString::fromStdString(kTestBundleDir)).canonicalPath().toStdString() +
        "/Contents/Resources/";
    struct Case
    {
        const char *name;
        const char *type;
        const char *subDir;
        std::string expected; // empty: no such resource
    };
    const Case cases[] = {
        {"TestPane", "nib", nullptr, resources + "TestPane.nib"},
        {"TestPage", "htm", "Help", resources + "Help/TestPage.htm"},
        {"index", "htm", "Help", resources + "Help/index.htm"},
        {"sample", "txt", "Data", resources + "Data/sample.txt"},
        {"sample.txt", nullptr, "Data", resources + "Data/sample.txt"},
        {"TestPane", ".nib", nullptr, resources + "TestPane.nib"},
        {"Missing", "nib", nullptr, ""},
        {"TestPage", "htm", nullptr, ""}, // pages are in the Help folder only
        {"TestPage", "html", "Help", ""},
        {"Window", "ui", "TestPane.nib", resources + "TestPane.nib/Window.ui"},
        {"Info", "plist", "..", ""}, // nothing outside Resources
        {"../Info", "plist", nullptr, ""},
    };
    for (const Case &c : cases) {
        CFRef<CFStringRef> name = cfText(c.name);
        CFRef<CFStringRef> type = c.type ? cfText(c.type) : CFRef<CFStringRef>();
        CFRef<CFStringRef> subDir = c.subDir ? cfText(c.subDir) : CFRef<CFStringRef>();
        CFRef<CFURLRef> url(CFBundleCopyResourceURL(bundle, name, type, subDir));
        EXPECT_EQ(pathOf(url), c.expected)
            << c.name << "." << (c.type ? c.type : "") << " in " << (c.subDir ? c.subDir : "");
    }
    EXPECT_EQ(CFBundleCopyResourceURL(bundle, nullptr, CFSTR("nib"), nullptr), nullptr);
    EXPECT_EQ(CFBundleCopyResourceURL(nullptr, CFSTR("TestPane"), CFSTR("nib"), nullptr), nullptr);
}

TEST(Bundle, LocalizedStringsComeFromTheTranslationOfTheChosenLanguage)
{
    CFBundleRef bundle = openBundle(kTestBundleDir);
    ASSERT_NE(bundle, nullptr);
    struct Case
    {
        const char *language;
        const char *key;
        const char *value; // null: no default given
        const char *table; // null: "Localizable"
        const char *expected;
    };
    const Case cases[] = {
        {"ja", "Test Pane A", nullptr, nullptr, "テストA"},
        {"ja_JP", "Test Pane A", nullptr, nullptr, "テストA"}, // falls back to the language
        {"de", "Test Pane A", nullptr, nullptr, "Testbereich A"},
        {"ja", "Test Pane A", nullptr, "Messages", "メッセージ表のA"},
        {"ja", "Test Pane B", nullptr, nullptr, "Test Pane B"},   // no translation: the key
        {"ja", "Untranslated", nullptr, nullptr, "Untranslated"}, // unfinished entry
        {"ja", "Warning32", "Default text", nullptr, "Default text"},
        {"ja", "Warning32", "", nullptr, "Warning32"},          // empty default: the key
        {"fr", "Test Pane A", nullptr, nullptr, "Test Pane A"}, // no file for the language
        {"ja", "Test Pane A", nullptr, "NoSuchTable", "Test Pane A"},
        // A key the chosen language lacks comes from the bundle's own language (English).
        {"ja", "Greeting", nullptr, nullptr, "Hello from the development language"},
        {"C", "Greeting", "Default", nullptr, "Hello from the development language"},
        {"de_AT", "Test Pane A", nullptr, nullptr, "Testbereich A"},
    };
    for (const Case &c : cases) {
        LanguageScope language(c.language);
        CFRef<CFStringRef> key = cfText(c.key);
        CFRef<CFStringRef> value = c.value ? cfText(c.value) : CFRef<CFStringRef>();
        CFRef<CFStringRef> table = c.table ? cfText(c.table) : CFRef<CFStringRef>();
        CFRef<CFStringRef> text(CFBundleCopyLocalizedString(bundle, key, value, table));
        EXPECT_EQ(textOf(text), c.expected) << c.language << ": " << c.key;
    }
    // A bundle without translations, or none at all, answers the key.
    LanguageScope language("ja");
    for (CFBundleRef other :
         {openBundle(kDataDir + "/bundles/NoFactories.plugin"), CFBundleRef()}) {
        CFRef<CFStringRef> text(
            CFBundleCopyLocalizedString(other, CFSTR("PDE Title"), nullptr, nullptr));
        EXPECT_EQ(textOf(text), "PDE Title");
    }
}

TEST(Bundle, DamagedOrMissingBundlesAreRefusedWithAMessage)
{
    struct Case
    {
        std::string path;
        const char *message; // part of what stderr must say
    };
    const Case cases[] = {
        {kDataDir + "/bundles/Malformed.plugin", "unreadable Info.plist"},
        {kDataDir + "/bundles/NotADictionary.plugin", "does not hold a dictionary"},
        {kDataDir + "/bundles/NoSuchBundle.plugin", "no such directory"},
        {kDataDir + "/Veltra-Test.ppd", "no such directory"}, // a file, not a bundle
    };
    for (const Case &c : cases) {
        StderrCapture capture;
        EXPECT_EQ(openBundle(c.path), nullptr) << c.path;
        const std::string said = capture.text();
        EXPECT_NE(said.find(c.message), std::string::npos) << c.path << " said: " << said;
        EXPECT_NE(said.find(c.path.substr(c.path.rfind('/') + 1)), std::string::npos) << said;
    }
    StderrCapture capture;
    EXPECT_EQ(CFBundleCreate(nullptr, nullptr), nullptr);
    EXPECT_FALSE(capture.text().empty());
}

TEST(Bundle, ExecutableLoadsAndExportsItsFunctions)
{
    CFBundleRef bundle = openBundle(kTestBundleDir);
    ASSERT_NE(bundle, nullptr);
    ASSERT_TRUE(CFBundleLoadExecutable(bundle));
    EXPECT_TRUE(CFBundleIsExecutableLoaded(bundle));
    EXPECT_NE(CFBundleGetFunctionPointerForName(bundle, CFSTR("VeltraTestPaneFactoryA")), nullptr);
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, CFSTR("NoSuchFunction")), nullptr);
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, nullptr), nullptr);
}

TEST(Bundle, ExecutableThatCannotBeLoadedSaysWhy)
{
    QTemporaryDir dir;
    const std::string noExecutable =
        writeBundle(dir, "NoExec.plugin",
                    "<plist><dict><key>CFBundleIdentifier</key><string>t.noexec</string>"
                    "</dict></plist>");
    const std::string missingFile =
        writeBundle(dir, "Missing.plugin",
                    "<plist><dict><key>CFBundleExecutable</key><string>Gone.so</string>"
                    "</dict></plist>");
    const std::string notAModule =
        writeBundle(dir, "Text.plugin",
                    "<plist><dict><key>CFBundleExecutable</key><string>Text.so</string>"
                    "</dict></plist>");
    QDir().mkpath(QString::fromStdString(notAModule) + "/Contents/Linux");
    QFile text(QString::fromStdString(notAModule) + "/Contents/Linux/Text.so");
    text.open(QIODevice::WriteOnly);
    text.write("not a shared object");
    text.close();

    const std::pair<std::string, const char *> cases[] = {
        {noExecutable, "names no executable"},
        {missingFile, "Gone.so"},
        {notAModule, "Text.so"},
    };
    for (const auto &[path, message] : cases) {
        CFBundleRef bundle = openBundle(path);
        ASSERT_NE(bundle, nullptr) << path;
        StderrCapture capture;
        EXPECT_FALSE(CFBundleLoadExecutable(bundle)) << path;
        EXPECT_FALSE(CFBundleIsExecutableLoaded(bundle));
        EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, CFSTR("Anything")), nullptr);
        const std::string said = capture.text();
        EXPECT_NE(said.find(message), std::string::npos) << said;
    }
}

} // namespace

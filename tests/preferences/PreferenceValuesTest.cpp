// What the panes store: opaque keys, string values per printer, in two user scopes.
#include "PreferenceTestSupport.h"

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace {

// Keys that a printer identifier followed by a preference key may well produce, and worse.
std::vector<QString> nastyKeys()
{
    const UniChar loneSurrogate[] = {u'a', 0xD800, u'b'};
    CFRef<CFStringRef> lone(CFStringCreateWithCharacters(nullptr, loneSurrogate, 3));
    return {
        QStringLiteral("/"),
        QStringLiteral("//"),
        QStringLiteral("a//b"),
        QStringLiteral("a/b"),
        QStringLiteral("/leading"),
        QStringLiteral("trailing/"),
        QStringLiteral("\\"),
        QStringLiteral("a\\b"),
        QStringLiteral("a\\\\b"),
        QStringLiteral(" "),
        QStringLiteral(" spaced key "),
        QStringLiteral("="),
        QStringLiteral("a=b=c"),
        QStringLiteral("[General]"),
        QStringLiteral("General"),
        QStringLiteral("general"),
        QStringLiteral("#comment"),
        QStringLiteral(";semicolon"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("%41 percent"),
        QStringLiteral("~0041 tilde"),
        QStringLiteral("k"),
        QStringLiteral("kk"),
        QStringLiteral("line\nbreak"),
        QStringLiteral("tab\there"),
        QStringLiteral("carriage\rreturn"),
        QString(QChar(0)) + QStringLiteral("nul"),
        QStringLiteral("caf\u00e9"),
        QStringLiteral("\u30d7\u30ea\u30f3\u30bf/\u7528\u7d19"),
        QString::fromUtf8("\xF0\x9F\x96\xA8 printer"),
        QStringLiteral("ipp://printer.local:631/printers/Office_1com.veltra.kzu.printsettings."
                       "PrintTypeReference"),
        QStringLiteral("Case"),
        QStringLiteral("case"),
        QStringFromCF(lone),
        QString(),
    };
}

struct ScopeCase : ::testing::TestWithParam<Scope>
{
};

TEST_P(ScopeCase, EveryKeyReadsBackExactlyBeforeAndAfterSavingAndInANewSession)
{
    const Scope scope = GetParam();
    TemporaryStores stores;
    const std::vector<QString> keys = nastyKeys();
    auto valueFor = [](size_t i) { return QStringLiteral("value %1 /\\= \u00e9").arg(i); };
    for (size_t i = 0; i < keys.size(); ++i)
        setString(keys[i], valueFor(i), scope);

    auto expectAll = [&](const char *when) {
        for (size_t i = 0; i < keys.size(); ++i)
            EXPECT_EQ(copyString(keys[i], scope), valueFor(i))
                << when << ", " << nameOf(scope) << ", key " << i << " "
                << keys[i].toUtf8().toHex().constData();
    };
    expectAll("pending");
    ASSERT_TRUE(synchronize(scope));
    expectAll("saved");
    stores.reopen();
    expectAll("reopened");
    EXPECT_EQ(copyString(QStringLiteral("a"), scope), std::nullopt)
        << "no key is folded into another";
}

TEST_P(ScopeCase, ValuesOfEveryPropertyListTypeSurvive)
{
    const Scope scope = GetParam();
    TemporaryStores stores;
    const SInt32 number = -42;
    const double real = 0.1;
    const UInt8 bytes[] = {0, 1, 0xFE, 0xFF};
    const UniChar oddUnits[] = {u'x', 0xDC00, u'=', u'\n'};
    CFRef<CFNumberRef> cfNumber(CFNumberCreate(nullptr, kCFNumberSInt32Type, &number));
    CFRef<CFNumberRef> cfReal(CFNumberCreate(nullptr, kCFNumberFloat64Type, &real));
    CFRef<CFDataRef> cfData(CFDataCreate(nullptr, bytes, sizeof bytes));
    CFRef<CFStringRef> cfOdd(CFStringCreateWithCharacters(nullptr, oddUnits, 4));
    const std::pair<CFStringRef, CFPropertyListRef> values[] = {
        {CFSTR("number"), cfNumber.get()},  {CFSTR("real"), cfReal.get()},
        {CFSTR("true"), kCFBooleanTrue},    {CFSTR("false"), kCFBooleanFalse},
        {CFSTR("data"), cfData.get()},      {CFSTR("odd string"), cfOdd.get()},
        {CFSTR("empty string"), CFSTR("")},
    };
    for (const auto &[key, value] : values)
        CFPreferencesSetValue(key, value, kCFPreferencesAnyApplication, userOf(scope),
                              kCFPreferencesCurrentHost);
    ASSERT_TRUE(synchronize(scope));
    stores.reopen();
    for (const auto &[key, value] : values) {
        CFRef<CFPropertyListRef> stored(CFPreferencesCopyValue(
            key, kCFPreferencesAnyApplication, userOf(scope), kCFPreferencesCurrentHost));
        ASSERT_TRUE(stored) << QStringFromCF(key).toStdString();
        EXPECT_EQ(CFGetTypeID(stored), CFGetTypeID(value)) << QStringFromCF(key).toStdString();
        EXPECT_TRUE(CFEqual(stored, value)) << QStringFromCF(key).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(BothStores, ScopeCase,
                         ::testing::Values(Scope::CurrentUser, Scope::AnyUser),
                         [](const auto &info) {
                             return info.param == Scope::CurrentUser ? "CurrentUser" : "AnyUser";
                         });

TEST(PreferencesTest, ScopesAreSeparateStoresThatHoldOnlyWhatWasSaved)
{
    TemporaryStores stores;
    const QString mode = QStringLiteral("Printer1AccountModeReference");
    setString(mode, QStringLiteral("0"), Scope::AnyUser);
    setString(mode, QStringLiteral("1"), Scope::CurrentUser);
    setString(QStringLiteral("gone"), QStringLiteral("soon"), Scope::CurrentUser);
    // Any host names the same store as the current host.
    CFPreferencesSetValue(CFSTR("host"), CFSTR("any"), kCFPreferencesAnyApplication,
                          kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    EXPECT_EQ(copyString(QStringLiteral("host"), Scope::CurrentUser), QStringLiteral("any"));
    EXPECT_FALSE(QFileInfo::exists(stores.file(Scope::CurrentUser)))
        << "nothing is written before Synchronize";
    ASSERT_TRUE(synchronize(Scope::AnyUser));
    ASSERT_TRUE(CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                                         kCFPreferencesAnyHost));
    // A null value removes the key; unsaved changes are seen in this process only.
    removeKey(QStringLiteral("gone"), Scope::CurrentUser);
    setString(QStringLiteral("pending"), QStringLiteral("yes"), Scope::CurrentUser);
    EXPECT_EQ(copyString(QStringLiteral("gone"), Scope::CurrentUser), std::nullopt);
    EXPECT_EQ(copyString(QStringLiteral("pending"), Scope::CurrentUser), QStringLiteral("yes"));
    stores.reopen();
    EXPECT_EQ(copyString(mode, Scope::AnyUser), QStringLiteral("0"));
    EXPECT_EQ(copyString(mode, Scope::CurrentUser), QStringLiteral("1"));
    EXPECT_EQ(copyString(QStringLiteral("host"), Scope::CurrentUser), QStringLiteral("any"));
    EXPECT_EQ(copyString(QStringLiteral("gone"), Scope::CurrentUser), QStringLiteral("soon"));
    EXPECT_EQ(copyString(QStringLiteral("pending"), Scope::CurrentUser), std::nullopt);
    removeKey(QStringLiteral("gone"), Scope::CurrentUser);
    ASSERT_TRUE(synchronize(Scope::CurrentUser));
    stores.reopen();
    EXPECT_EQ(copyString(QStringLiteral("gone"), Scope::CurrentUser), std::nullopt);
    EXPECT_EQ(copyString(mode, Scope::CurrentUser), QStringLiteral("1"));
}

TEST(PreferencesTest, ValuesOfOtherTypesAndOtherDomainsAreRefused)
{
    TemporaryStores stores;
    const void *items[] = {CFSTR("a")};
    CFRef<CFArrayRef> array(CFArrayCreate(nullptr, items, 1, &kCFTypeArrayCallBacks));
    StderrCapture capture;
    CFPreferencesSetValue(CFSTR("array"), array, kCFPreferencesAnyApplication,
                          kCFPreferencesCurrentUser, kCFPreferencesCurrentHost);
    EXPECT_FALSE(CFPreferencesCopyValue(CFSTR("array"), kCFPreferencesAnyApplication,
                                        kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));

    CFPreferencesSetValue(CFSTR("key"), CFSTR("v"), CFSTR("com.example.other"),
                          kCFPreferencesCurrentUser, kCFPreferencesCurrentHost);
    EXPECT_FALSE(CFPreferencesCopyValue(CFSTR("key"), CFSTR("com.example.other"),
                                        kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
    EXPECT_FALSE(CFPreferencesSynchronize(kCFPreferencesAnyApplication, CFSTR("someone"),
                                          kCFPreferencesCurrentHost));
    EXPECT_FALSE(CFPreferencesCopyValue(nullptr, kCFPreferencesAnyApplication,
                                        kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
    CFPreferencesSetValue(nullptr, CFSTR("v"), kCFPreferencesAnyApplication,
                          kCFPreferencesCurrentUser, kCFPreferencesCurrentHost);
    const QString messages = capture.text();
    EXPECT_TRUE(messages.contains(QStringLiteral("cannot be stored"))) << messages.toStdString();
    EXPECT_EQ(copyString(QStringLiteral("key"), Scope::CurrentUser), std::nullopt);
}

TEST(PreferencesTest, DefaultStoresFollowTheXDGDirectories)
{
    QTemporaryDir dir;
    const QByteArray savedHome = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedDirs = qgetenv("XDG_CONFIG_DIRS");
    const bool hadHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const bool hadDirs = qEnvironmentVariableIsSet("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_CONFIG_DIRS",
            QFile::encodeName(dir.filePath(QStringLiteral("xdg"))) + ":/etc/xdg");
    VeltraPreferencesSetStoreFiles(nullptr, nullptr);
    setString(QStringLiteral("key"), QStringLiteral("mine"), Scope::CurrentUser);
    setString(QStringLiteral("key"), QStringLiteral("everyone's"), Scope::AnyUser);
    EXPECT_TRUE(synchronize(Scope::CurrentUser));
    EXPECT_TRUE(synchronize(Scope::AnyUser));
    EXPECT_TRUE(
        QFileInfo::exists(dir.filePath(QStringLiteral("config/veltra-pde/preferences.conf"))));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("xdg/veltra-pde/preferences.conf"))));
    auto restore = [](const char *name, const QByteArray &value, bool wasSet) {
        if (wasSet)
            qputenv(name, value);
        else
            qunsetenv(name);
    };
    restore("XDG_CONFIG_HOME", savedHome, hadHome);
    restore("XDG_CONFIG_DIRS", savedDirs, hadDirs);
    VeltraPreferencesSetStoreFiles(nullptr, nullptr);
}

} // namespace

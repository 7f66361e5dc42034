// What every pane test starts from: the plug-in bundle of the build tree with its English
// strings, and a preference store of its own in a temporary directory.
#pragma once

#include "AppResources.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/QtBridge.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

// Opens the plug-in bundle from the build tree, as the print system does before it loads the
// plug-in; the bundle stays open for the rest of the process.
inline CFBundleRef OpenTestBundle(const char *language = "en")
{
    VeltraBundleSetLanguage(language);
    CFRef<CFStringRef> path(CFStringCreateWithQString(QStringLiteral(VELTRA_TEST_BUNDLE_DIR)));
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true));
    return CFBundleCreate(nullptr, url);
}

// The stored text of a preference key, "<none>" when there is none.
inline std::string StoredPreference(CFStringRef key, CFStringRef user = kCFPreferencesCurrentUser)
{
    CFRef<CFPropertyListRef> v(
        CFPreferencesCopyValue(key, kCFPreferencesAnyApplication, user, kCFPreferencesCurrentHost));
    if (!v || CFGetTypeID(v) != CFStringGetTypeID())
        return "<none>";
    return QStringFromCF(static_cast<CFStringRef>(v.get())).toStdString();
}

inline std::string StoredPreference(const std::string &key,
                                    CFStringRef user = kCFPreferencesCurrentUser)
{
    CFRef<CFStringRef> k(CFStringCreateWithQString(QString::fromStdString(key)));
    return StoredPreference(k.get(), user);
}

// Stores text (null: removes the key) for the current user and saves the store.
inline void StorePreference(const std::string &key, const char *text)
{
    CFRef<CFStringRef> k(CFStringCreateWithQString(QString::fromStdString(key)));
    CFRef<CFStringRef> value(text ? CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8)
                                  : nullptr);
    CFPreferencesSetValue(k, value.get(), kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                          kCFPreferencesCurrentHost);
    EXPECT_TRUE(CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                                         kCFPreferencesCurrentHost));
}

class PaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefsDir.isValid());
        const QByteArray user = prefsDir.filePath("user.prefs").toUtf8();
        const QByteArray any = prefsDir.filePath("any.prefs").toUtf8();
        VeltraPreferencesSetStoreFiles(user.constData(), any.constData());
        bundle = OpenTestBundle();
        ASSERT_NE(bundle, nullptr);
        ASSERT_EQ(GetAppBundleRef(), bundle);
    }
    void TearDown() override
    {
        VeltraPreferencesSetStoreFiles(nullptr, nullptr);
        VeltraBundleSetLanguage("en");
    }

    QTemporaryDir prefsDir;
    CFBundleRef bundle = nullptr;
};

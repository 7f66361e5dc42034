// What every pane test starts from: the plug-in bundle of the build tree with its English
// strings, a preference store of its own in a temporary directory, the sample printers, a print
// dialog with a user pane, a panel that owns the controls a test gives it, and the printer
// driver's view of what reaches the ticket.
#pragma once

#include "AppResources.h"
#include "CBasePrintPanel.h"
#include "CPopupWindowInPanel.h"
#include "ModalScript.h"
#include "WmbCodec.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/QtBridge.h>
#include <PaneBatch.h>
#include <PrintCore/PrintHost.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

// Stores text (null: removes the key) for user and saves the store.
inline void StorePreference(const std::string &key, const char *text,
                            CFStringRef user = kCFPreferencesCurrentUser)
{
    CFRef<CFStringRef> k(CFStringCreateWithQString(QString::fromStdString(key)));
    CFRef<CFStringRef> value(text ? CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8)
                                  : nullptr);
    CFPreferencesSetValue(k, value.get(), kCFPreferencesAnyApplication, user,
                          kCFPreferencesCurrentHost);
    EXPECT_TRUE(
        CFPreferencesSynchronize(kCFPreferencesAnyApplication, user, kCFPreferencesCurrentHost));
}

// A sample printer's description file: Veltra-Sample.ppd, or LX-4200 (hard disk, 4-digit
// minimum passcode), LX-3100 (no hard disk), LX-5300 (plain passcodes).
inline std::string SamplePPD(const char *name = "Veltra-Sample.ppd")
{
    return QFileInfo(QStringLiteral(VELTRA_SAMPLE_PPD)).dir().filePath(name).toStdString();
}

inline veltra::PPDFile OpenTestPPD(const std::string &path)
{
    std::string error;
    veltra::PPDFile ppd = veltra::OpenPPD(path, &error);
    EXPECT_TRUE(ppd) << path << ": " << error;
    return ppd;
}

// A value the way the printer driver receives a password: scrambled, then Base64.
inline std::string Scrambled(const std::string &text)
{
    unsigned char bytes[256] = {};
    int32_t length = 0;
    WmbEncrypt(reinterpret_cast<const unsigned char *>(text.data()), int32_t(text.size()), bytes,
               &length, sizeof bytes);
    char encoded[512] = {};
    int32_t encodedLength = 0;
    WmbBinToB64(bytes, length, encoded, &encodedLength, sizeof encoded);
    return std::string(encoded, size_t(encodedLength));
}

// The driver's side of a scrambled value: Base64 back to bytes, then the scrambler again.
inline std::string Unscramble(const std::string &ticketText)
{
    unsigned char bytes[256];
    int32_t length = 0;
    EXPECT_EQ(WmbB64ToBin(ticketText.c_str(), int32_t(ticketText.size()), bytes, &length, 255),
              kWmbNoErr);
    unsigned char value[256];
    int32_t valueLength = 0;
    EXPECT_EQ(WmbEncrypt(bytes, length, value, &valueLength, 255), kWmbNoErr);
    return std::string(reinterpret_cast<char *>(value), size_t(valueLength));
}

// A ticket's value of key, "<none>" when absent.
inline std::string TicketValue(veltra::PrintSession &session, const std::string &key)
{
    const std::string *value = session.ticket().value(key);
    return value ? *value : "<none>";
}

// A panel the tests fill with their own controls and windows; it owns them.
class TestPanel : public CBasePrintPanel
{
public:
    template <typename T> T *add(T *control)
    {
        owned.emplace_back(control);
        RunTimeAddNewControl(control);
        return control;
    }
    void addWindow(CPopupWindowInPanel *window)
    {
        ownedWindows.emplace_back(window);
        RunTimeAddNewWindow(window);
    }
    void useNib(CFStringRef file, CFStringRef windowName, ControlID pane)
    {
        nibFileName = file;
        nibWindowName = windowName;
        nibPaneID = pane;
    }
    // Binds every control to its widget in window, as a pane does after loading its interface
    // file, and (with clicks) gives them the panel's click handler.
    void bind(WindowRef window, CFBundleRef bundle = nullptr, bool clicks = true)
    {
        InitializeUserPaneControl(window, nullptr, bundle, nullptr);
        if (clicks)
            SetControlEventHandler();
    }
    // What a load sync does: initial state, stored or default values, shown and constrained.
    void load()
    {
        ResetControlStatus();
        SetUIDataToIniData();
        GetValueFromPreference();
        SetCurrentValueToUI();
    }
    bool OnClickPrintCommand() override
    {
        ++printCommands;
        return allowPrint;
    }

    std::vector<std::unique_ptr<CBaseControl>> owned;
    std::vector<std::unique_ptr<CPopupWindowInPanel>> ownedWindows;
    bool allowPrint = true;
    int printCommands = 0;
};

// A print dialog window whose user pane the panes fill.
struct TestDialog
{
    TestDialog()
    {
        dialog->resize(600, 400);
        auto *layout = new QVBoxLayout(dialog.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(paneWidget);
        window = VeltraWindowForWidget(dialog.get());
        userPane = VeltraControlForWidget(paneWidget);
    }
    std::unique_ptr<QDialog> dialog = std::make_unique<QDialog>();
    QWidget *paneWidget = new QWidget(dialog.get());
    WindowRef window = nullptr;
    ControlRef userPane = nullptr;
};

// Stands in for veltra-print --batch: the pane's driver answers the pane's windows; alerts are
// noted and closed.
struct BatchHost
{
    explicit BatchHost(const char *kind, veltra::PaneBatchValues v)
        : driver(veltra::FindPaneBatchDriver(kind)), values(std::move(v))
    {
        VeltraSetModalLoopObserver(&BatchHost::loopStarted, this);
    }
    ~BatchHost() { VeltraSetModalLoopObserver(nullptr, nullptr); }
    static void loopStarted(WindowRef window, void *self)
    {
        auto *host = static_cast<BatchHost *>(self);
        if (host->driver->answer(window, ModalScript::windowName(window), host->values))
            return;
        QString text;
        ModalScript::readAlert (&text)(window);
        host->alerts.push_back(text.toStdString());
    }
    const veltra::PaneBatchDriver *driver;
    veltra::PaneBatchValues values;
    std::vector<std::string> alerts;
};

class PaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefsDir.isValid());
        useStores(prefsDir.filePath("user.prefs"), prefsDir.filePath("any.prefs"));
        bundle = OpenTestBundle();
        ASSERT_NE(bundle, nullptr);
        ASSERT_EQ(GetAppBundleRef(), bundle);
    }
    void TearDown() override
    {
        VeltraPreferencesSetStoreFiles(nullptr, nullptr);
        VeltraBundleSetLanguage("en");
    }
    static void useStores(const QString &user, const QString &any)
    {
        VeltraPreferencesSetStoreFiles(user.toUtf8().constData(), any.toUtf8().constData());
    }
    // A copy of the description file at path in the temporary directory, each line starting
    // with "*keyword:" replaced by *keyword: "replacement" (empty: removed).
    veltra::PPDFile ppdWith(const std::string &path, const std::string &keyword,
                            const std::string &replacement)
    {
        QFile source(QString::fromStdString(path));
        EXPECT_TRUE(source.open(QIODevice::ReadOnly)) << path;
        QByteArray text;
        bool found = false;
        for (const QByteArray &line : source.readAll().split('\n')) {
            if (!line.startsWith(QByteArray::fromStdString("*" + keyword + ":"))) {
                text += line + '\n';
                continue;
            }
            found = true;
            if (!replacement.empty())
                text += QByteArray::fromStdString("*" + keyword + ": \"" + replacement + "\"\n");
        }
        EXPECT_TRUE(found) << keyword;
        const QString copyPath = prefsDir.filePath(QFileInfo(source).fileName());
        QFile copy(copyPath);
        EXPECT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
        copy.write(text);
        copy.close();
        return OpenTestPPD(copyPath.toStdString());
    }

    QTemporaryDir prefsDir;
    CFBundleRef bundle = nullptr;
};

// The print type pane as a user meets it: the real bundle loaded by the print dialog host, a
// dialog on one of the sample printers, preferences in a temporary directory, and the pane's
// widgets found by their identity.
#pragma once

#include <PDEHost.h>

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>
#include <PrintCore/PrintHost.h>

#include "ModalScript.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace printtype {

constexpr const char *kKind = "com.veltra.kzu.pde.PrintTypeKind";
constexpr const char *kTypeKey = "com.veltra.kzu.printsettings.PrintTypeTicketKey";
constexpr const char *kUserKey = "com.veltra.kzu.printsettings.PrintTypeUserNameTicketKey";
constexpr const char *kDocTypeKey = "com.veltra.kzu.printsettings.DocumentNameTypeTicketKey";
constexpr const char *kDocKey = "com.veltra.kzu.printsettings.DocumentNameTicketKey";
constexpr const char *kPasscodeKey = "com.veltra.kzu.printsettings.PrintTypePasswordTicketKey";

constexpr ControlID kTypeList = {'ssls', 202};
constexpr ControlID kUserName = {'spui', 204};
constexpr ControlID kDocTypeList = {'dnls', 310};
constexpr ControlID kDocName = {'dnui', 210};
constexpr ControlID kPasscode = {'sppi', 206};
constexpr ControlID kPasscodeLabel = {'sppt', 212};
constexpr ControlID kRestore = {'rsdf', 300};

// The sample printers: LX-4200 has a hard disk and a 4-digit minimum, LX-3100 no hard disk,
// LX-5300 takes plain passcodes.
inline std::string SamplePPD(const char *name)
{
    return QFileInfo(QStringLiteral(VELTRA_SAMPLE_PPD)).dir().filePath(name).toStdString();
}

// What an alert said; its OK is pressed.
inline ModalScript::Action ReadAlert(QString *text)
{
    return [text](WindowRef window) {
        if (auto *label = qobject_cast<QLabel *>(ModalScript::widget(window, {'mste', 600})))
            *text = label->text();
        ModalScript::clickCommand(kHICommandOK)(window);
    };
}

class PrintTypePaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefs.isValid());
        const QByteArray user = prefs.filePath("user.prefs").toUtf8();
        const QByteArray any = prefs.filePath("any.prefs").toUtf8();
        VeltraPreferencesSetStoreFiles(user.constData(), any.constData());
        VeltraBundleSetLanguage("en");
        std::string error;
        ASSERT_TRUE(host.load(VELTRA_TEST_BUNDLE_DIR, &error)) << error;
    }
    void TearDown() override
    {
        host.close();
        VeltraPreferencesSetStoreFiles(nullptr, nullptr);
    }

    // Opens the dialog on a copy of the sample printer that offers only the print type pane.
    void open(const char *ppdName, const std::string &printer = "Office")
    {
        host.close();
        QFile source(QString::fromStdString(SamplePPD(ppdName)));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << ppdName;
        QByteArray text;
        for (const QByteArray &line : source.readAll().split('\n')) {
            if (!line.startsWith("*VZXAccountingSettings"))
                text += line + '\n';
        }
        const QString path = prefs.filePath(QString::fromLatin1(ppdName));
        QFile copy(path);
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(text);
        copy.close();
        std::string error;
        veltra::PPDFile ppd = veltra::OpenPPD(path.toStdString(), &error);
        ASSERT_TRUE(ppd) << error;
        session = std::make_unique<veltra::PrintSession>(printer, std::move(ppd));
        ASSERT_TRUE(host.openDialog(*session, &error)) << error;
        for (int i = 0; i < host.paneCount(); ++i) {
            if (host.paneKind(i) == kKind)
                paneIndex = i;
        }
        ASSERT_GE(paneIndex, 0);
        ASSERT_EQ(host.paneInitializeResult(paneIndex), noErr);
        host.showPane(paneIndex);
        host.dialog()->show();
        QApplication::setActiveWindow(host.dialog());
    }

    QWidget *widget(ControlID id) const { return ModalScript::widget(host.dialogWindow(), id); }
    template <typename T> T *get(ControlID id) const { return qobject_cast<T *>(widget(id)); }
    QComboBox *list(ControlID id) const { return get<QComboBox>(id); }
    QLineEdit *field(ControlID id) const { return get<QLineEdit>(id); }

    // The user's actions on the pane.
    // Steps through the list with the arrow keys, as a user does; stops where a step is
    // refused.
    void choose(ControlID id, int item)
    {
        QComboBox *combo = list(id);
        ASSERT_NE(combo, nullptr);
        while (combo->currentIndex() != item - 1) {
            const int before = combo->currentIndex();
            QTest::keyClick(combo, before < item - 1 ? Qt::Key_Down : Qt::Key_Up);
            if (combo->currentIndex() == before)
                return;
        }
    }
    void type(ControlID id, const QString &text)
    {
        ModalScript::type(id, text)(host.dialogWindow());
    }
    void click(ControlID id) { ModalScript::click(id)(host.dialogWindow()); }

    std::string ticket(const char *key) const
    {
        const std::string *value = session->ticket().value(key);
        return value ? *value : "<none>";
    }
    static std::string preference(const std::string &key)
    {
        CFRef<CFStringRef> k(
            CFStringCreateWithCString(nullptr, key.c_str(), kCFStringEncodingUTF8));
        CFRef<CFPropertyListRef> v(CFPreferencesCopyValue(
            k, kCFPreferencesAnyApplication, kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
        if (!v || CFGetTypeID(v) != CFStringGetTypeID())
            return "<none>";
        return QStringFromCF(static_cast<CFStringRef>(v.get())).toStdString();
    }

    QTemporaryDir prefs;
    veltra::PDEHost host;
    std::unique_ptr<veltra::PrintSession> session;
    int paneIndex = -1;
};

} // namespace printtype

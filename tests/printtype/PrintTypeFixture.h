// The print type pane as a user meets it: the real bundle loaded by the print dialog host, a
// dialog on one of the sample printers, preferences in a temporary directory, and the pane's
// widgets found by their identity.
#pragma once

#include <PDEHost.h>

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>
#include <PrintCore/PrintHost.h>

#include "PaneFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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

class PrintTypePaneTest : public PaneTest
{
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        std::string error;
        ASSERT_TRUE(host.load(VELTRA_TEST_BUNDLE_DIR, &error)) << error;
    }
    void TearDown() override
    {
        host.close();
        PaneTest::TearDown();
    }

    // Opens the dialog on a copy of the sample printer that offers only the print type pane.
    void open(const char *ppdName, const std::string &printer = "Office")
    {
        host.close();
        veltra::PPDFile ppd = ppdWith(SamplePPD(ppdName), "VZXAccountingSettings", "");
        ASSERT_TRUE(ppd);
        std::string error;
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

    std::string ticket(const char *key) const { return TicketValue(*session, key); }
    static std::string preference(const std::string &key) { return StoredPreference(key); }
    static ModalScript::Action ReadAlert(QString *text) { return ModalScript::readAlert(text); }

    veltra::PDEHost host;
    std::unique_ptr<veltra::PrintSession> session;
    int paneIndex = -1;
};

} // namespace printtype

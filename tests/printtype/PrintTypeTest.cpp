// The print type pane in the host's dialog, from the real bundle: what reaches the ticket and the
// preferences, enabled fields, messages, what Print does and what veltra-print --batch makes of it.
#include "PaneFixture.h"

#include <HIToolbox/Controls.h>
#include <PDEHost.h>
#include <PaneBatch.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

constexpr ControlID kTypeList = {'ssls', 202}, kUserName = {'spui', 204},
                    kDocTypeList = {'dnls', 310}, kDocName = {'dnui', 210},
                    kPasscode = {'sppi', 206}, kPasscodeLabel = {'sppt', 212},
                    kRestore = {'rsdf', 300};
const std::string kPrefix = "com.veltra.kzu.printsettings.";
const char kUserNameWarning[] = "The user name must have 1 to 8 letters, digits or symbols "
                                "(Latin-1 characters), and not only spaces.";

// "key=value;key=value" as a map.
veltra::PaneBatchValues Map(const std::string &text)
{
    veltra::PaneBatchValues values;
    for (const QString &pair : QString::fromStdString(text).split(u';', Qt::SkipEmptyParts))
        values[pair.section(u'=', 0, 0).toStdString()] = pair.section(u'=', 1).toStdString();
    return values;
}

class PrintTypeTest : public PaneTest
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
    // Opens the dialog on a copy of a sample printer that offers only the print type pane.
    void open(const char *ppdName, const std::string &printer = "Office")
    {
        host.close();
        veltra::PPDFile ppd = ppdWith(SamplePPD(ppdName), "VZXAccountingSettings", "");
        ASSERT_TRUE(ppd);
        std::string error;
        session = std::make_unique<veltra::PrintSession>(printer, std::move(ppd));
        ASSERT_TRUE(host.openDialog(*session, &error)) << error;
        for (int i = 0; i < host.paneCount(); ++i)
            pane = host.paneKind(i) == "com.veltra.kzu.pde.PrintTypeKind" ? i : pane;
        ASSERT_GE(pane, 0);
        ASSERT_EQ(host.paneInitializeResult(pane), noErr);
        host.showPane(pane);
        host.dialog()->show();
        QApplication::setActiveWindow(host.dialog());
    }
    QWidget *widget(ControlID id) const { return ModalScript::widget(host.dialogWindow(), id); }
    QComboBox *list(ControlID id) const { return qobject_cast<QComboBox *>(widget(id)); }
    QLineEdit *field(ControlID id) const { return qobject_cast<QLineEdit *>(widget(id)); }
    // Steps through the list with the arrow keys, as a user does; stops where a step is refused.
    void choose(ControlID id, int item)
    {
        QComboBox *combo = list(id);
        for (int before = -1;
             combo->currentIndex() != item - 1 && combo->currentIndex() != before;) {
            before = combo->currentIndex();
            QTest::keyClick(combo, before < item - 1 ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    void type(ControlID id, const QString &t) { ModalScript::type(id, t)(host.dialogWindow()); }
    // Print; an alert it shows is read into *alert.
    bool print(QString *alert = nullptr)
    {
        ModalScript script;
        if (alert)
            script.when("About", ModalScript::readAlert(alert));
        return host.pressPrint();
    }
    std::string ticket(const std::string &k) const { return TicketValue(*session, kPrefix + k); }
    // The values of ticket keys, as "key=value;key=value".
    void expect(const std::string &tickets) const
    {
        for (const auto &[key, value] : Map(tickets))
            EXPECT_EQ(ticket(key), value) << key;
    }

    veltra::PDEHost host;
    std::unique_ptr<veltra::PrintSession> session;
    int pane = -1;
};

TEST_F(PrintTypeTest, SecureJobReachesTheTicketWithTheScrambledPasscode)
{
    open("Veltra-LX4200.ppd");
    EXPECT_FALSE(field(kUserName)->isEnabled());
    choose(kTypeList, 2);
    type(kUserName, "alice");
    type(kPasscode, "12345");
    EXPECT_EQ(qobject_cast<QLabel *>(widget(kPasscodeLabel))->text(), "Passcode (4 to 12 digits):");
    choose(kDocTypeList, 1);
    EXPECT_FALSE(field(kDocName)->isEnabled()) << "automatic naming disables the name";
    ASSERT_TRUE(print());
    expect("PrintTypeTicketKey=2;PrintTypeUserNameTicketKey=alice;DocumentNameTypeTicketKey=1;"
           "DocumentNameTicketKey=;PrintTypePasswordTicketKey=" +
           Scrambled("12345"));
    std::string lines;
    for (const veltra::PDESummaryLine &line : host.summary())
        lines += line.title + ": " + line.value + "|";
    EXPECT_EQ(lines, "Print Type: Secure|User Name: alice|Document Name Type: Automatic|Document "
                     "Name: |Passcode (4 to 12 digits): \uFF65\uFF65\uFF65\uFF65\uFF65|");
    EXPECT_EQ(StoredPreference("Officecom.veltra.kzu.printsettings.PrintTypeReference"), "2");
    EXPECT_EQ(StoredPreference("Officecom.veltra.kzu.printsettings.PrintTypePasswordReference"),
              "12345");
}

TEST_F(PrintTypeTest, OrdinaryJobDisablesAndSkipsTheFields)
{
    open("Veltra-LX4200.ppd");
    for (ControlID id : {kUserName, kPasscode, kDocName})
        field(id)->setText("   ,");
    for (ControlID id : {kUserName, kPasscode, kDocName, kDocTypeList, kPasscodeLabel})
        EXPECT_FALSE(widget(id)->isEnabled());
    ASSERT_TRUE(print()) << "disabled fields are not checked";
    expect("PrintTypeTicketKey=1;PrintTypeUserNameTicketKey=/32/32/32/44");
    for (const char *key :
         {"DocumentNameTypeTicketKey", "DocumentNameTicketKey", "PrintTypePasswordTicketKey"})
        EXPECT_NE(ticket(key), "<none>") << key;
}

TEST_F(PrintTypeTest, JobTypeChangeIsRefusedWhileAFieldIsInvalid)
{
    // The field, what is typed with the keyboard or put in as a paste does, the message.
    const std::tuple<ControlID, const char *, const char *, const char *> rows[] = {
        {kUserName, "   ", nullptr, kUserNameWarning},
        {kUserName, nullptr, "abcdefghi", kUserNameWarning},
        {kPasscode, "123", nullptr, "Enter a passcode of 4 to 12 digits."},
        {kPasscode, nullptr, "12ab56", "Enter a passcode of 4 to 12 digits."},
    };
    for (const auto &[id, typed, pasted, text] : rows) {
        open("Veltra-LX4200.ppd");
        choose(kTypeList, 2);
        type(kUserName, "bob");
        type(kPasscode, "9999");
        field(id)->clear();
        typed ? type(id, typed) : field(id)->setText(pasted);
        QString message;
        {
            ModalScript script;
            script.when("About", ModalScript::readAlert(&message));
            choose(kTypeList, 3);
        }
        EXPECT_EQ(message, text);
        EXPECT_EQ(list(kTypeList)->currentIndex(), 1) << "the list shows Secure again";
        EXPECT_EQ(host.dialog()->focusWidget(), widget(id));
    }
}

TEST_F(PrintTypeTest, ShortPasscodeAsksWhetherToPrintAnOrdinaryJob)
{
    for (const bool ordinary : {true, false}) {
        open("Veltra-LX4200.ppd", ordinary ? "Office" : "Lobby");
        choose(kTypeList, 2);
        type(kUserName, "carol");
        type(kPasscode, "12");
        {
            ModalScript script;
            const ControlID button = ordinary ? ControlID{'pcob', 201} : ControlID{'pccb', 200};
            script.when(
                "PCAbout",
                {[&](WindowRef w) {
                     auto *message = qobject_cast<QLabel *>(ModalScript::widget(w, {'pcms', 900}));
                     EXPECT_TRUE(message->text().contains("shorter than this printer requires"));
                 },
                 ModalScript::click(button)});
            EXPECT_EQ(host.pressPrint(), ordinary);
        }
        EXPECT_EQ(list(kTypeList)->currentIndex(), ordinary ? 0 : 1);
        expect(ordinary ? "PrintTypeTicketKey=1" : "PrintTypeTicketKey=<none>");
        if (!ordinary) {
            EXPECT_EQ(host.dialog()->focusWidget(), widget(kPasscode));
            type(kPasscode, "34");
            EXPECT_EQ(field(kPasscode)->text(), "34") << "the passcode comes back selected";
        }
    }
}

TEST_F(PrintTypeTest, PrinterWithoutHardDiskKeepsTheOrdinaryJobAndOneTakesPlainPasscodes)
{
    StorePreference("Officecom.veltra.kzu.printsettings.PrintTypeReference", "2");
    open("Veltra-LX3100.ppd");
    EXPECT_FALSE(list(kTypeList)->isEnabled());
    EXPECT_EQ(list(kTypeList)->currentIndex(), 0);
    ASSERT_TRUE(print());
    expect("PrintTypeTicketKey=1");
    // A printer that takes plain passcodes gets the digits.
    open("Veltra-LX5300.ppd");
    EXPECT_EQ(qobject_cast<QLabel *>(widget(kPasscodeLabel))->text(), "Passcode (0 to 12 digits):");
    choose(kTypeList, 2);
    type(kUserName, "dave");
    type(kPasscode, "0042");
    ASSERT_TRUE(print());
    expect("PrintTypePasswordTicketKey=0042");
}

TEST_F(PrintTypeTest, ValuesComeBackForTheSamePrinterOnly)
{
    open("Veltra-LX4200.ppd", "Office");
    choose(kTypeList, 2);
    type(kUserName, "a,b");
    type(kPasscode, "9876");
    type(kDocName, "report");
    ASSERT_TRUE(print());
    expect("PrintTypeUserNameTicketKey=/97/44/98;DocumentNameTicketKey=report");
    for (const char *printer : {"Office", "Lobby"}) {
        SCOPED_TRACE(printer);
        open("Veltra-LX4200.ppd", printer);
        const bool same = printer[0] == 'O';
        EXPECT_EQ(list(kTypeList)->currentIndex(), same ? 1 : 0);
        EXPECT_EQ(field(kUserName)->text(), same ? "a,b" : "");
        EXPECT_EQ(field(kPasscode)->text(), same ? "9876" : "");
        EXPECT_EQ(field(kDocName)->text(), same ? "report" : "");
        EXPECT_EQ(field(kPasscode)->isEnabled(), same);
    }
}

TEST_F(PrintTypeTest, RestoreBringsBackTheDefaults)
{
    open("Veltra-LX5300.ppd");
    choose(kTypeList, 3);
    EXPECT_EQ(list(kTypeList)->currentIndex(), 2) << "an empty user name does not stop the change";
    type(kUserName, "erin");
    choose(kDocTypeList, 1);
    ModalScript::click(kRestore)(host.dialogWindow());
    EXPECT_EQ(list(kTypeList)->currentIndex(), 0);
    EXPECT_EQ(list(kDocTypeList)->currentIndex(), 1);
    EXPECT_EQ(field(kUserName)->text(), "");
    choose(kTypeList, 2);
    EXPECT_TRUE(field(kDocName)->isEnabled()) << "the default names the document by hand";
    QString message;
    EXPECT_FALSE(print(&message));
    EXPECT_EQ(message, "Enter a user name.") << "the user name is empty again";
}

TEST_F(PrintTypeTest, TabMovesOutOfThePasscodeWithoutABeep)
{
    open("Veltra-LX4200.ppd");
    choose(kTypeList, 2);
    type(kPasscode, "123456789012");
    field(kPasscode)->setFocus();
    const UInt32 beeps = VeltraBeepCount();
    QTest::keyClick(field(kPasscode), Qt::Key_Tab);
    EXPECT_EQ(host.dialog()->focusWidget(), widget(kDocTypeList));
    QTest::keyClick(widget(kDocTypeList), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(host.dialog()->focusWidget(), widget(kPasscode));
    EXPECT_EQ(VeltraBeepCount(), beeps);
    EXPECT_EQ(field(kPasscode)->text(), "123456789012");
}

TEST_F(PrintTypeTest, BatchOptionsSetThePaneAsAUserWouldOrAreRefusedInItsWords)
{
    // The printer, the options, what fill reports (null: it fills the pane), what Print showed
    // (null: it prints; empty: it does not, the window was cancelled) and the ticket.
    const std::tuple<const char *, const char *, const char *, const char *, std::string> rows[] = {
        // clang-format off
        {"LX4200", "print-type=secure;user-name=alice;passcode=1234;document-name=auto", nullptr,
         nullptr, "PrintTypeTicketKey=2;PrintTypeUserNameTicketKey=alice;DocumentNameTypeTicketKey=1;"
         "DocumentNameTicketKey="},
        {"LX4200", "print-type=sample;user-name=bob;document-name=minutes", nullptr, nullptr,
         "PrintTypeTicketKey=3;PrintTypeUserNameTicketKey=bob;DocumentNameTypeTicketKey=2;"
         "DocumentNameTicketKey=minutes"},
        {"LX4200", "print-type=secure;user-name=carol;passcode=12;if-passcode-short=ordinary",
         nullptr, nullptr, "PrintTypeTicketKey=1;PrintTypeUserNameTicketKey=carol"},
        {"LX4200", "print-type=secure;user-name=carol;passcode=12", nullptr, "",
         "PrintTypeTicketKey=<none>"},
        {"LX4200", "print-type=secure;user-name=   ", nullptr, kUserNameWarning,
         "PrintTypeTicketKey=<none>"},
        {"LX4200", "print-type=secure;user-name=abcdefghij",
         "the user name field refused some of \"abcdefghij\" and holds \"abcdefgh\"", nullptr, ""},
        {"LX4200", "print-type=none;passcode=1234", "the passcode is not used by this print type",
         nullptr, ""},
        {"LX4200", "print-type=urgent", "--print-type takes none, secure or sample, not \"urgent\"",
         nullptr, ""},
        {"LX3100", "print-type=secure", "the print type cannot be changed on this printer", nullptr,
         ""}};
    // clang-format on
    for (const auto &[ppd, options, fillError, alert, tickets] : rows) {
        SCOPED_TRACE(options);
        open(("Veltra-" + std::string(ppd) + ".ppd").c_str());
        BatchHost batch("com.veltra.kzu.pde.PrintTypeKind", Map(options));
        ASSERT_NE(batch.driver, nullptr);
        std::string error;
        EXPECT_EQ(batch.driver->fill(host.dialogWindow(), host.userPaneWidget(pane), Map(options),
                                     &error),
                  !fillError);
        EXPECT_EQ(error, fillError ? fillError : "");
        if (fillError)
            continue;
        EXPECT_EQ(host.pressPrint(), !alert);
        EXPECT_EQ(batch.alerts,
                  alert && *alert ? std::vector<std::string>{alert} : std::vector<std::string>{});
        expect(tickets);
    }
}

} // namespace

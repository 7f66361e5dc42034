// The print type pane driven through its real widgets: what reaches the ticket and the
// preferences, which fields are enabled, which messages appear and what Print does.
#include "PrintTypeFixture.h"

#include <HIToolbox/Controls.h>

#include <QPushButton>

namespace printtype {
namespace {

TEST_F(PrintTypePaneTest, SecureJobReachesTheTicketWithTheScrambledPasscode)
{
    open("Veltra-LX4200.ppd");
    EXPECT_FALSE(field(kUserName)->isEnabled());
    choose(kTypeList, 2);
    type(kUserName, "alice");
    type(kPasscode, "123456");
    choose(kDocTypeList, 1);
    EXPECT_FALSE(field(kDocName)->isEnabled()) << "automatic naming disables the name";
    EXPECT_EQ(get<QLabel>(kPasscodeLabel)->text(), "Passcode (4 to 12 digits):");

    ASSERT_TRUE(host.pressPrint());
    EXPECT_EQ(ticket(kTypeKey), "2");
    EXPECT_EQ(ticket(kUserKey), "alice");
    EXPECT_EQ(ticket(kDocTypeKey), "1");
    EXPECT_EQ(ticket(kDocKey), "");
    EXPECT_EQ(ticket(kPasscodeKey), Scrambled("123456"));
    EXPECT_EQ(preference("Officecom.veltra.kzu.printsettings.PrintTypeReference"), "2");
    EXPECT_EQ(preference("Officecom.veltra.kzu.printsettings.PrintTypePasswordReference"),
              "123456");
}

TEST_F(PrintTypePaneTest, SummaryShowsEveryValueAndMasksThePasscode)
{
    open("Veltra-LX4200.ppd");
    choose(kTypeList, 2);
    type(kUserName, "alice");
    type(kPasscode, "12345");
    ASSERT_TRUE(host.pressPrint());
    std::vector<std::string> lines;
    for (const veltra::PDESummaryLine &line : host.summary())
        lines.push_back(line.title + ": " + line.value);
    const std::vector<std::string> expected = {
        "Print Type: Secure", "User Name: alice", "Document Name Type: Enter a name",
        "Document Name: ", "Passcode (4 to 12 digits): \uFF65\uFF65\uFF65\uFF65\uFF65"};
    EXPECT_EQ(lines, expected);
}

TEST_F(PrintTypePaneTest, OrdinaryJobDisablesAndSkipsTheFields)
{
    open("Veltra-LX4200.ppd");
    for (ControlID id : {kUserName, kPasscode, kDocName})
        field(id)->setText("   ,");
    for (ControlID id : {kUserName, kPasscode, kDocName, kDocTypeList})
        EXPECT_FALSE(widget(id)->isEnabled());
    EXPECT_FALSE(get<QLabel>(kPasscodeLabel)->isEnabled());
    ASSERT_TRUE(host.pressPrint()) << "disabled fields are not checked";
    EXPECT_EQ(ticket(kTypeKey), "1");
    for (const char *key : {kUserKey, kDocTypeKey, kDocKey, kPasscodeKey})
        EXPECT_NE(ticket(key), "<none>") << key;
    EXPECT_EQ(ticket(kUserKey), "/32/32/32/44");
}

TEST_F(PrintTypePaneTest, JobTypeChangeIsRefusedWhileAFieldIsInvalid)
{
    const struct
    {
        ControlID field;
        const char *typed;  // with the keyboard
        const char *pasted; // put into the field as a paste does
        const char *message;
    } cases[] = {
        {kUserName, "   ", nullptr,
         "The user name must have 1 to 8 letters, digits or symbols (Latin-1 characters), and "
         "not only spaces."},
        {kUserName, nullptr, "abcdefghi",
         "The user name must have 1 to 8 letters, digits or symbols (Latin-1 characters), and "
         "not only spaces."},
        {kPasscode, "123", nullptr, "Enter a passcode of 4 to 12 digits."},
        {kPasscode, nullptr, "12ab56", "Enter a passcode of 4 to 12 digits."},
    };
    for (const auto &c : cases) {
        open("Veltra-LX4200.ppd");
        choose(kTypeList, 2);
        type(kUserName, "bob");
        type(kPasscode, "9999");
        field(c.field)->clear();
        if (c.typed)
            type(c.field, c.typed);
        else
            field(c.field)->setText(c.pasted);
        QString message;
        {
            ModalScript script;
            script.when("About", ReadAlert(&message));
            choose(kTypeList, 3);
        }
        EXPECT_EQ(message.toStdString(), c.message);
        EXPECT_EQ(list(kTypeList)->currentIndex(), 1) << "the list shows Secure again";
        EXPECT_EQ(host.dialog()->focusWidget(), widget(c.field));
    }
}

TEST_F(PrintTypePaneTest, EmptyUserNameDoesNotStopTheChangeButStopsPrint)
{
    open("Veltra-LX5300.ppd");
    choose(kTypeList, 3);
    EXPECT_EQ(list(kTypeList)->currentIndex(), 2);
    QString message;
    {
        ModalScript script;
        script.when("About", ReadAlert(&message));
        EXPECT_FALSE(host.pressPrint());
    }
    EXPECT_EQ(message, "Enter a user name.");
    EXPECT_EQ(ticket(kTypeKey), "<none>");
}

TEST_F(PrintTypePaneTest, ShortPasscodeAsksWhetherToPrintAnOrdinaryJob)
{
    const struct
    {
        UInt32 button;
        bool printed;
        int typeShown;
    } cases[] = {{'pcob', true, 0}, {'pccb', false, 1}};
    for (const auto &c : cases) {
        open("Veltra-LX4200.ppd", c.printed ? "Office" : "Lobby");
        choose(kTypeList, 2);
        type(kUserName, "carol");
        type(kPasscode, "12");
        QString message;
        {
            ModalScript script;
            script.when("PCAbout",
                        {[&](WindowRef window) {
                             if (auto *label = qobject_cast<QLabel *>(
                                     ModalScript::widget(window, {'pcms', 900})))
                                 message = label->text();
                         },
                         ModalScript::click({c.button, c.button == 'pcob' ? 201 : 200})});
            EXPECT_EQ(host.pressPrint(), c.printed);
        }
        EXPECT_NE(message.indexOf("shorter than this printer requires"), -1)
            << message.toStdString();
        EXPECT_EQ(list(kTypeList)->currentIndex(), c.typeShown);
        if (c.printed) {
            EXPECT_EQ(ticket(kTypeKey), "1");
        } else {
            EXPECT_EQ(ticket(kTypeKey), "<none>");
            EXPECT_EQ(host.dialog()->focusWidget(), widget(kPasscode));
            type(kPasscode, "34");
            EXPECT_EQ(field(kPasscode)->text(), "34") << "the passcode comes back selected";
        }
    }
}

TEST_F(PrintTypePaneTest, PrinterWithoutHardDiskKeepsTheOrdinaryJob)
{
    StorePreference("Officecom.veltra.kzu.printsettings.PrintTypeReference", "2");
    open("Veltra-LX3100.ppd");
    EXPECT_FALSE(list(kTypeList)->isEnabled());
    EXPECT_EQ(list(kTypeList)->currentIndex(), 0);
    ASSERT_TRUE(host.pressPrint());
    EXPECT_EQ(ticket(kTypeKey), "1");
}

TEST_F(PrintTypePaneTest, PrinterThatTakesPlainPasscodesGetsTheDigits)
{
    open("Veltra-LX5300.ppd");
    EXPECT_EQ(get<QLabel>(kPasscodeLabel)->text(), "Passcode (0 to 12 digits):");
    choose(kTypeList, 2);
    type(kUserName, "dave");
    type(kPasscode, "0042");
    ASSERT_TRUE(host.pressPrint());
    EXPECT_EQ(ticket(kPasscodeKey), "0042");
}

TEST_F(PrintTypePaneTest, ValuesComeBackForTheSamePrinterOnly)
{
    open("Veltra-LX4200.ppd", "Office");
    choose(kTypeList, 2);
    type(kUserName, "a,b");
    type(kPasscode, "9876");
    type(kDocName, "report");
    ASSERT_TRUE(host.pressPrint());
    EXPECT_EQ(ticket(kUserKey), "/97/44/98");
    EXPECT_EQ(ticket(kDocKey), "report");
    host.close();

    open("Veltra-LX4200.ppd", "Office");
    EXPECT_EQ(list(kTypeList)->currentIndex(), 1);
    EXPECT_EQ(field(kUserName)->text(), "a,b");
    EXPECT_EQ(field(kPasscode)->text(), "9876");
    EXPECT_EQ(field(kDocName)->text(), "report");
    EXPECT_TRUE(field(kPasscode)->isEnabled());
    host.close();

    open("Veltra-LX4200.ppd", "Lobby");
    EXPECT_EQ(list(kTypeList)->currentIndex(), 0);
    EXPECT_EQ(field(kUserName)->text(), "");
    EXPECT_EQ(field(kPasscode)->text(), "");
}

TEST_F(PrintTypePaneTest, RestoreBringsBackTheDefaults)
{
    open("Veltra-LX5300.ppd");
    choose(kTypeList, 3);
    type(kUserName, "erin");
    choose(kDocTypeList, 1);
    click(kRestore);
    EXPECT_EQ(list(kTypeList)->currentIndex(), 0);
    EXPECT_EQ(list(kDocTypeList)->currentIndex(), 1);
    EXPECT_EQ(field(kUserName)->text(), "");
    choose(kTypeList, 2);
    EXPECT_TRUE(field(kDocName)->isEnabled()) << "the default names the document by hand";
    QString message;
    ModalScript script;
    script.when("About", ReadAlert(&message));
    EXPECT_FALSE(host.pressPrint());
    EXPECT_EQ(message, "Enter a user name.") << "the user name is empty again";
}

TEST_F(PrintTypePaneTest, TabMovesOutOfThePasscodeWithoutABeep)
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

} // namespace
} // namespace printtype

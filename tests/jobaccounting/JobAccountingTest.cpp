// The job accounting pane through its real widgets and windows and its plug-in entry: what
// reaches the ticket and the preferences, which controls are enabled, which messages appear,
// what Print does, and what veltra-print --batch makes of it.
#include "AdminCheck.h"
#include "PDEPlugInEntry.h"
#include "PaneFixture.h"

#include "../admin/UserDatabaseNamespace.h"
#include "../host/fixture/StderrCapture.h"

#include <Help/AppleHelp.h>
#include <PaneBatch.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <map>

extern const PDEPaneDescription kJBAPane;

namespace {

using Entry = PDEEntry<kJBAPane>;
using Action = ModalScript::Action;

constexpr ControlID kModeList = {'jals', 101}, kSettingsButton = {'jibt', 102};
// The personal settings window (the shared settings window's ids are 1000 higher: Shared()).
constexpr ControlID kOK = {'aiob', 211}, kCancel = {'aicb', 212}, kRestore = {'airb', 213},
                    kWindowHelp = {'aihb', 214}, kNameList = {'uilc', 301}, kUserID = {'uitt', 302},
                    kLogin = {'lntt', 307}, kPassword = {'uptt', 303}, kJobInfo = {'jarb', 401},
                    kAskAtPrint = {'jirb', 402};
// The input window at Print.
constexpr ControlID kInputOK = {'aiob', 601}, kInputCancel = {'aicb', 602},
                    kInputUserID = {'uitt', 504}, kInputPassword = {'uptt', 506};

const std::string kWarning32 = "The user ID must have 1 to 32 letters, digits or symbols (ASCII "
                               "characters), and not only spaces.";
const std::string kWarning33 = "The password must be empty or have 4 to 12 letters, digits or "
                               "symbols (ASCII characters).";

std::string DialogUser()
{
    char name[256] = {};
    return GetDialogUserName(name, sizeof name) ? name : "UnknownUser";
}
std::string Text(WindowRef window, ControlID id)
{
    auto *field = qobject_cast<QLineEdit *>(ModalScript::widget(window, id));
    return field ? field->text().toStdString() : "<no field>";
}
// Runs the actions one after the other inside a window.
Action All(std::vector<Action> actions)
{
    return [actions](WindowRef window) {
        for (const Action &action : actions)
            action(window);
    };
}
// "key=value;key=value" as a map.
veltra::PaneBatchValues Map(const std::string &text)
{
    veltra::PaneBatchValues values;
    for (const QString &pair : QString::fromStdString(text).split(u';', Qt::SkipEmptyParts))
        values[pair.section(u'=', 0, 0).toStdString()] = pair.section(u'=', 1).toStdString();
    return values;
}
// The administrators group holds jo; the test user is jo or ann.
const std::string kGroups = "users:x:100:ann,jo\nadmin:x:4242:jo\n";

class JobAccountingTest : public PaneTest
{
protected:
    void TearDown() override
    {
        close();
        PaneTest::TearDown();
    }
    // Opens the dialog on the sample printer: Prologue, Initialize (with its first Sync).
    void open(const std::string &printer = "Office")
    {
        close();
        dialog = std::make_unique<TestDialog>();
        session = std::make_unique<veltra::PrintSession>(printer, OpenTestPPD(VELTRA_SAMPLE_PPD));
        ASSERT_EQ(Entry::Prologue(&context, nullptr, nullptr, nullptr, nullptr, nullptr), noErr);
        PMPDEFlags flags = 0;
        ASSERT_EQ(Entry::Initialize(context, &flags, nullptr, dialog->userPane, session->ref()),
                  noErr);
        dialog->dialog->show();
        QApplication::setActiveWindow(dialog->dialog.get());
    }
    void close()
    {
        if (context)
            Entry::Terminate(context, noErr);
        context = nullptr;
        dialog.reset();
        session.reset();
    }
    static ControlID Shared(ControlID id) { return {id.signature, id.id + 1000}; }
    QWidget *widget(ControlID id) const { return ModalScript::widget(dialog->window, id); }
    void click(ControlID id) { ModalScript::click(id)(dialog->window); }
    // Works the settings window shown with actions that close it; an alert goes to *alert.
    void settings(std::vector<Action> actions, QString *alert = nullptr, bool shared = false)
    {
        ModalScript script;
        script.when(shared ? "AuthenticationAdmin" : "Authentication", All(std::move(actions)));
        if (alert)
            script.when("About", ModalScript::readAlert(alert));
        click(kSettingsButton);
    }
    // Print: false when the pane held the job back, else the pane writes the ticket. The input
    // window must open when input is given and is worked with it; an alert goes to *alert.
    bool print(std::vector<Action> input = {}, QString *alert = nullptr)
    {
        ModalScript script;
        if (!input.empty())
            script.when("UserInput", All(std::move(input)));
        if (alert)
            script.when("About", ModalScript::readAlert(alert));
        if (ProcessHICommandInWindow(dialog->window, kHICommandOK) == noErr)
            return false;
        return sync() == noErr;
    }
    OSStatus sync() { return Entry::Sync(context, session->ref(), false); }
    // The summary's "title: value" lines, joined by " | ".
    std::string summary()
    {
        CFArrayRef titles = nullptr, values = nullptr;
        EXPECT_EQ(Entry::GetSummaryText(context, &titles, &values), noErr);
        CFRef<CFArrayRef> t(titles), v(values);
        auto at = [](CFArrayRef a, CFIndex i) {
            return QStringFromCF(CFStringRef(CFArrayGetValueAtIndex(a, i)));
        };
        QStringList lines;
        for (CFIndex i = 0; t && v && i < CFArrayGetCount(t); ++i)
            lines << at(t, i) + ": " + at(v, i);
        return lines.join(" | ").toStdString();
    }
    std::string ticket(const std::string &name) const
    {
        return TicketValue(*session, "com.veltra.kzu.printsettings." + name);
    }
    // Ticket values, and the shared and the user's preferences, as "key=value;key=value".
    void expect(const std::string &tickets, const std::string &shared = "",
                const std::string &own = "") const
    {
        for (const auto &[key, value] : Map(tickets))
            EXPECT_EQ(ticket(key), value) << key;
        for (const auto &[key, value] : Map(shared))
            EXPECT_EQ(preference(key, kCFPreferencesAnyUser), value) << key;
        for (const auto &[key, value] : Map(own))
            EXPECT_EQ(preference(key, kCFPreferencesCurrentUser), value) << key;
    }
    static std::string preference(const std::string &key, CFStringRef user)
    {
        return StoredPreference("Officecom.veltra.kzu.printsettings." + key, user);
    }

    std::unique_ptr<TestDialog> dialog;
    std::unique_ptr<veltra::PrintSession> session;
    PMPDEContext context = nullptr;
};

TEST_F(JobAccountingTest, FreshPanelUsesThePersonalSettingsWritesEveryWindowAndNamesItsHelp)
{
    open();
    EXPECT_EQ(qobject_cast<QComboBox *>(widget(kModeList))->currentIndex(), 1);
    const std::string login = DialogUser();
    EXPECT_EQ(summary(), "Account Mode: Personal settings | User Settings: Use these details for "
                         "every job | User Name: Login name | User ID: " +
                             login + " | Password: ");
    ASSERT_TRUE(print());
    // Both settings windows and the input window reach the ticket under their own keys.
    for (const char *w : {"", "Admin"})
        expect(QString("JBA%1UserSettingRadioBtnTicket=1;JBA%1UserIDListCtrlTicket=1;"
                       "JBA%1UserIDTextEditTicket=;JBA%1LoginTextEditTicket=%2;"
                       "JBA%1UserPasswordTextEditTicket=;JBA%1UserInputRadioBtnTicket=0")
                   .arg(w, QString::fromStdString(login))
                   .toStdString());
    expect("JBAManageTypeListTicketKey=2;JBAInputAuthRadioBtnTicketKey=1",
           "JBAManageTypeListReference=2;JBAAdminUserSettingRadioBtnReference=1",
           "JBAUserSettingRadioBtnReference=1");
    EXPECT_EQ(ticket("JBAHkgnPrintDateTicketKey").size() +
                  ticket("JBAHkgnPrintTimeTicketKey").size(),
              18u)
        << "then where and when the job was made";
    // Help pages are named after the printer description.
    auto page = [] { return QString::fromStdString(VeltraLastHelpPage()); };
    click({'help', 103});
    EXPECT_TRUE(page().endsWith("/Help/JBA_Printer01.htm")) << page().toStdString();
    settings({ModalScript::click(kWindowHelp), ModalScript::click(kCancel)});
    EXPECT_TRUE(page().endsWith("/Help/DetailedUS_Printer01.htm")) << page().toStdString();
}

TEST_F(JobAccountingTest, AdministratorsChooseAndEditTheSharedSettingsOtherUsersOnlySeeThem)
{
    RUN_WITH_USER_DATABASE(UserDatabase::withUser("jo", kGroups));
    open();
    ModalScript::choose(kModeList, 1)(dialog->window);
    std::string passwordAfterListChange;
    settings({ModalScript::type(Shared(kPassword), "pass"),
              ModalScript::choose(Shared(kNameList), 2),
              [&](WindowRef w) { passwordAfterListChange = Text(w, Shared(kPassword)); },
              ModalScript::type(Shared(kUserID), "alice"),
              ModalScript::type(Shared(kPassword), "pass"), ModalScript::click(Shared(kOK))},
             nullptr, true);
    EXPECT_EQ(passwordAfterListChange, "") << "a change of the list empties the password";
    EXPECT_EQ(summary(), "Account Mode: Shared settings | User Settings: Use these details for "
                         "every job | User Name: Enter a user ID | User ID: alice | Password: "
                         "\uFF65\uFF65\uFF65\uFF65");
    ASSERT_TRUE(print());
    // The personal settings are written too.
    expect("JBAManageTypeListTicketKey=1;JBAAdminUserIDListCtrlTicket=2;JBAUserIDListCtrlTicket=1;"
           "JBAAdminUserIDTextEditTicket=alice;JBAAdminUserPasswordTextEditTicket=" +
               Scrambled("pass"),
           "JBAAdminUserIDTextEditReference=alice;JBAAdminUserPasswordTextEditReference=pass;"
           "JBAManageTypeListReference=1");
    // Another user sees the shared mode the administrator saved but cannot change it or them.
    usernamespace::UseUserDatabase(UserDatabase::withUser("ann", kGroups));
    open();
    EXPECT_FALSE(widget(kModeList)->isEnabled()) << "after opening";
    const ControlID controls[] = {kOK,           kCancel,   kRestore,      kWindowHelp, kJobInfo,
                                  {'ulst', 901}, kNameList, {'uist', 902}, kUserID,     kLogin,
                                  {'upst', 903}, kPassword, kAskAtPrint};
    std::string enabled;
    settings({[&](WindowRef w) {
                  for (ControlID id : controls) {
                      QWidget *control = ModalScript::widget(w, Shared(id));
                      enabled += control && control->isEnabled() ? "1" : "0";
                  }
              },
              ModalScript::click(Shared(kOK))},
             nullptr, true);
    EXPECT_EQ(enabled, "1101000000000") << "only OK, Cancel and Help";
    EXPECT_FALSE(widget(kModeList)->isEnabled()) << "after the settings window";
    ASSERT_TRUE(print());
    EXPECT_FALSE(widget(kModeList)->isEnabled()) << "after Print";
    expect("JBAManageTypeListTicketKey=1");
}

TEST_F(JobAccountingTest, InputAtPrintHoldsTheJobBackUntilConfirmed)
{
    open();
    settings({ModalScript::click(kAskAtPrint), ModalScript::click(kOK)});
    EXPECT_EQ(summary(), "Account Mode: Personal settings | User Settings: Ask for a user ID and "
                         "password when printing");
    EXPECT_FALSE(print({ModalScript::type(kInputUserID, "abc"), ModalScript::click(kInputCancel)}))
        << "the dialog stays open";
    EXPECT_NE(sync(), noErr);
    EXPECT_TRUE(session->ticket().entries().empty()) << "nothing is written after a cancel";
    std::string shown;
    ASSERT_TRUE(
        print({[&](WindowRef w) { shown = Text(w, kInputUserID); },
               ModalScript::type(kInputUserID, "abc"), ModalScript::type(kInputPassword, "secret1"),
               ModalScript::click(kInputOK)}));
    EXPECT_EQ(shown, "") << "the cancelled input was not kept";
    expect("JBAInputUserIDTextEditTicket=abc;JBAUserInputRadioBtnTicket=1;"
           "JBAInputUserPasswordTextEditTicket=" +
               Scrambled("secret1"),
           "", "JBAInputUserIDTextEditReference=abc");
    // The next dialog shows the confirmed input again; cancelled, and input at print turned
    // off, Print goes on without the window.
    open();
    ASSERT_FALSE(print(
        {[&](WindowRef w) { shown = Text(w, kInputUserID); }, ModalScript::click(kInputCancel)}));
    EXPECT_EQ(shown, "abc");
    settings({ModalScript::click(kJobInfo), ModalScript::click(kOK)});
    ASSERT_TRUE(print());
    expect("JBAUserInputRadioBtnTicket=0");
}

TEST_F(JobAccountingTest, SettingsAndInputWindowsRefuseInvalidDetails)
{
    const struct
    {
        int nameItem; // chosen in the settings window; 0: the list, ID and password left alone
        const char *userID, *password;
        bool askAtPrint;     // chosen in the settings window, which may refuse it
        std::string message; // the refusal, in the settings or the input window; "" for none
        const char *inputID; // typed at Print; null: no input window
        const char *inputPassword;
        std::string listItem; // what reaches the ticket: committed only by a successful OK
    } rows[] = {
        {2, "", "", false, kWarning32, nullptr, nullptr, "1"},
        {2, "   ", "", false, kWarning32, nullptr, nullptr, "1"},
        {1, "", "abc", false, kWarning33, nullptr, nullptr, "1"},
        {2, "bob", "abc", true, kWarning33, nullptr, nullptr, "1"},
        {1, "", "", false, "", nullptr, nullptr, "1"},
        {2, "bob", "", true, "", "bob", "", "2"},
        {0, nullptr, nullptr, true, kWarning32, "", "", "1"},
        {0, nullptr, nullptr, true, kWarning32, "   ", "", "1"},
        {0, nullptr, nullptr, true, kWarning33, "abc", "ab", "1"},
        {0, nullptr, nullptr, true, kWarning33, "abc", "   ", "1"},
        {0, nullptr, nullptr, true, "", "abc", "", "1"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.nameItem << "/" << row.userID << "/" << row.inputID);
        open("Printer" + std::to_string(&row - rows)); // preferences of its own
        const bool atPrint = row.inputID != nullptr, refused = !row.message.empty();
        QString message;
        bool asked = false;
        std::vector<Action> steps;
        if (row.nameItem)
            steps = {ModalScript::choose(kNameList, row.nameItem),
                     ModalScript::type(kUserID, row.userID),
                     ModalScript::type(kPassword, row.password)};
        if (row.askAtPrint)
            steps.push_back(ModalScript::click(kAskAtPrint));
        steps.push_back([&](WindowRef w) {
            asked = qobject_cast<QRadioButton *>(ModalScript::widget(w, kAskAtPrint))->isChecked();
        });
        // A radio button that springs back has shown the message already.
        if (!row.askAtPrint || !refused || atPrint)
            steps.push_back(ModalScript::click(kOK));
        if (refused && !atPrint)
            steps.push_back(ModalScript::click(kCancel));
        settings(steps, refused && !atPrint ? &message : nullptr);
        EXPECT_EQ(asked, atPrint) << "springs back";
        const ControlID field = row.message == kWarning32 ? kInputUserID : kInputPassword;
        bool focused = false;
        std::vector<Action> input;
        if (atPrint)
            input = {ModalScript::type(kInputUserID, row.inputID),
                     ModalScript::type(kInputPassword, row.inputPassword),
                     ModalScript::click(kInputOK)};
        if (atPrint && refused)
            input.insert(input.end(), {[&](WindowRef w) {
                                           QWidget *refusedField = ModalScript::widget(w, field);
                                           focused = refusedField->window()->focusWidget() ==
                                                     refusedField;
                                       },
                                       ModalScript::click(kInputCancel)});
        EXPECT_EQ(print(input, atPrint && refused ? &message : nullptr), !(atPrint && refused));
        EXPECT_EQ(message.toStdString(), row.message);
        EXPECT_EQ(focused, atPrint && refused) << "the refused field has the focus";
        if (!(atPrint && refused))
            expect("JBAUserIDListCtrlTicket=" + row.listItem +
                   (atPrint ? std::string(";JBAInputUserIDTextEditTicket=") + row.inputID : ""));
    }
}

TEST_F(JobAccountingTest, CancelAndRestoreDoNotCommit)
{
    open();
    settings({ModalScript::choose(kNameList, 2), ModalScript::type(kUserID, "bob"),
              ModalScript::click(kOK)});
    settings(
        {[](WindowRef w) { qobject_cast<QLineEdit *>(ModalScript::widget(w, kUserID))->clear(); },
         ModalScript::type(kUserID, "carol"), ModalScript::click(kCancel)});
    std::string seen; // the user ID after Cancel, list item and login after Restore, user ID
    settings({[&](WindowRef w) { seen = Text(w, kUserID); }, ModalScript::click(kRestore),
              [&](WindowRef w) {
                  auto *list = qobject_cast<QComboBox *>(ModalScript::widget(w, kNameList));
                  seen += " " + list->currentText().toStdString() + " " + Text(w, kLogin);
              },
              ModalScript::click(kCancel)});
    settings({[&](WindowRef w) { seen += " " + Text(w, kUserID); }, ModalScript::click(kCancel)});
    EXPECT_EQ(seen, "bob Login name " + DialogUser() + " bob");
    ASSERT_TRUE(print());
    expect("JBAUserIDListCtrlTicket=2;JBAUserIDTextEditTicket=bob");
}

TEST_F(JobAccountingTest, SharedSettingsTheStoreRefusesAreToldOnceAndTheUsersOwnAreSaved)
{
    // The shared store cannot be written: its folder would have to be made inside a plain file.
    ASSERT_TRUE(QFile(prefsDir.filePath("etc")).open(QIODevice::WriteOnly));
    const QString user = prefsDir.filePath("user.prefs"), any = prefsDir.filePath("etc/any.prefs");
    useStores(user, any);
    open();
    QString message;
    qputenv("VELTRA_PDE_DIAGNOSTICS", "1");
    StderrCapture errors;
    EXPECT_TRUE(print({}, &message));
    qunsetenv("VELTRA_PDE_DIAGNOSTICS");
    // Whoever debugs the driver can see which control lost which key.
    EXPECT_NE(errors.text().find("veltra-pde: control 'jals' 101: the preference "
                                 "com.veltra.kzu.printsettings.JBAManageTypeListReference was "
                                 "not written"),
              std::string::npos);
    EXPECT_EQ(message, u"Only an administrator can change the shared accounting settings; they "
                       "were not saved.");
    EXPECT_TRUE(print()) << "a second Print says nothing more (an alert out of turn fails)";
    useStores(user, any);
    expect("JBAManageTypeListTicketKey=2", "JBAManageTypeListReference=<none>",
           "JBAUserSettingRadioBtnReference=1");
}

TEST_F(JobAccountingTest, BatchOptionsWorkThePaneAsAUserWould)
{
    RUN_WITH_USER_DATABASE(UserDatabase::withUser("ann", kGroups));
    const struct
    {
        const char *options;
        std::string error; // of fill; empty when it succeeds
        bool printed;
        std::string ticket;
    } rows[] = {
        {"account-mode=personal;account-user=alice;account-password=pass1", "", true,
         "JBAManageTypeListTicketKey=2;JBAUserIDListCtrlTicket=2;JBAUserIDTextEditTicket=alice;"
         "JBAUserPasswordTextEditTicket=" +
             Scrambled("pass1")},
        {"account-user=login", "", true, "JBAUserIDListCtrlTicket=1"},
        {"account-ask-at-print=yes;input-user-id=bob;input-password=word", "", true,
         "JBAUserInputRadioBtnTicket=1;JBAInputUserIDTextEditTicket=bob;"
         "JBAInputUserPasswordTextEditTicket=" +
             Scrambled("word")},
        {"account-ask-at-print=yes;input-cancel=yes", "", false, ""},
        {"account-user=alice;account-password=abc", kWarning33, true,
         "JBAUserIDListCtrlTicket=1;JBAUserIDTextEditTicket="},
        {"account-mode=shared",
         "the account mode can only be changed by a member of the administrators group", true,
         "JBAManageTypeListTicketKey=2"},
        {"account-ask-at-print=maybe", "--account-ask-at-print takes yes or no, not \"maybe\"",
         true, ""},
    };
    int run = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(run);
        open("Batch" + std::to_string(++run)); // preferences of its own
        BatchHost batch("com.veltra.kzu.pde.JBAKind", Map(row.options));
        ASSERT_NE(batch.driver, nullptr);
        std::string error;
        EXPECT_EQ(batch.driver->fill(dialog->window, nullptr, Map(row.options), &error),
                  row.error.empty());
        EXPECT_EQ(error, row.error);
        const bool printed =
            ProcessHICommandInWindow(dialog->window, kHICommandOK) != noErr && sync() == noErr;
        EXPECT_EQ(printed, row.printed);
        expect(row.ticket);
        EXPECT_TRUE(printed || session->ticket().entries().empty());
    }
}

} // namespace

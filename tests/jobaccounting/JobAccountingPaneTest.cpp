// The job accounting pane driven through its real widgets and windows: what reaches the ticket
// and the preferences, which controls are enabled, which messages appear and what Print does.
#include "JobAccountingFixture.h"

#include "../admin/UserDatabaseNamespace.h"
#include "../host/fixture/StderrCapture.h"

#include <Help/AppleHelp.h>

namespace jobaccounting {
namespace {

const std::string kWarning32 = "The user ID must have 1 to 32 letters, digits or symbols (ASCII "
                               "characters), and not only spaces.";
const std::string kWarning33 = "The password must be empty or have 4 to 12 letters, digits or "
                               "symbols (ASCII characters).";

// The administrators group holds jo; the test user is jo or ann.
UserDatabase Users(const char *name)
{
    return UserDatabase::withUser(name, "users:x:100:ann,jo\nadmin:x:4242:jo\n");
}

TEST_F(JobAccountingTest, FreshPanelUsesThePersonalSettingsAndWritesEveryWindow)
{
    open();
    EXPECT_EQ(panel()->getAccountMode(), kJBAAccountModeUser);
    EXPECT_EQ(panel()->GetPrintCommandState(), kPrintCommandProceed);
    EXPECT_EQ(get<QComboBox>(kModeList)->currentIndex(), 1);
    const std::string login = DialogUser();
    const std::vector<std::string> lines = {
        "Account Mode: Personal settings", "User Settings: Use these details for every job",
        "User Name: Login name", "User ID: " + login, "Password: "};
    EXPECT_EQ(summary(), lines) << "only the personal settings, with the login name";
    ASSERT_TRUE(pressPrint());

    EXPECT_EQ(ticket("JBAManageTypeListTicketKey"), "2");
    EXPECT_EQ(preference("JBAManageTypeListReference", kCFPreferencesAnyUser), "2");
    // Both settings windows and the input window reach the ticket under their own keys.
    for (const char *window : {"", "Admin"}) {
        const std::string w = window;
        EXPECT_EQ(ticket("JBA" + w + "UserSettingRadioBtnTicket"), "1") << w;
        EXPECT_EQ(ticket("JBA" + w + "UserIDListCtrlTicket"), "1") << w;
        EXPECT_EQ(ticket("JBA" + w + "UserIDTextEditTicket"), "") << w;
        EXPECT_EQ(ticket("JBA" + w + "LoginTextEditTicket"), login) << w;
        EXPECT_EQ(ticket("JBA" + w + "UserPasswordTextEditTicket"), "") << w;
        EXPECT_EQ(ticket("JBA" + w + "UserInputRadioBtnTicket"), "0") << w;
    }
    EXPECT_EQ(ticket("JBAInputAuthRadioBtnTicketKey"), "1");
    EXPECT_EQ(preference("JBAAdminUserSettingRadioBtnReference", kCFPreferencesAnyUser), "1");
    EXPECT_EQ(preference("JBAUserSettingRadioBtnReference", kCFPreferencesCurrentUser), "1");
    // Then where and when the job was made.
    EXPECT_NE(ticket("JBAHkgnPrintDateTicketKey"), "<none>");
    EXPECT_NE(ticket("JBAHkgnPrintTimeTicketKey"), "<none>");
}

TEST_F(JobAccountingTest, AdministratorChoosesSharedSettingsAndEditsThem)
{
    RUN_WITH_USER_DATABASE(Users("jo"));
    open();
    EXPECT_TRUE(get<QComboBox>(kModeList)->isEnabled());
    choose(kModeList, 1);
    EXPECT_EQ(panel()->getAccountMode(), kJBAAccountModeAdmin);
    const SettingsIDs admin(true);
    std::string passwordAfterListChange;
    {
        ModalScript script;
        script.when(
            "AuthenticationAdmin",
            {ModalScript::type(admin.password(), "pass"), ModalScript::choose(admin.nameList(), 2),
             Inspect([&](WindowRef w) { passwordAfterListChange = Text(w, admin.password()); }),
             ModalScript::type(admin.userID(), "alice"),
             ModalScript::type(admin.password(), "pass"), ModalScript::click(admin.ok())});
        click(kSettingsButton);
    }
    EXPECT_EQ(passwordAfterListChange, "") << "a change of the list empties the password";
    const std::vector<std::string> expected = {
        "Account Mode: Shared settings", "User Settings: Use these details for every job",
        "User Name: Enter a user ID", "User ID: alice", "Password: \uFF65\uFF65\uFF65\uFF65"};
    EXPECT_EQ(summary(), expected) << "the personal settings are not listed";

    ASSERT_TRUE(pressPrint());
    EXPECT_EQ(ticket("JBAManageTypeListTicketKey"), "1");
    EXPECT_EQ(ticket("JBAAdminUserIDListCtrlTicket"), "2");
    EXPECT_EQ(ticket("JBAAdminUserIDTextEditTicket"), "alice");
    EXPECT_EQ(ticket("JBAAdminUserPasswordTextEditTicket"), Scrambled("pass"));
    EXPECT_EQ(ticket("JBAUserIDListCtrlTicket"), "1") << "the personal settings are written too";
    EXPECT_EQ(preference("JBAAdminUserIDTextEditReference", kCFPreferencesAnyUser), "alice");
    EXPECT_EQ(preference("JBAAdminUserPasswordTextEditReference", kCFPreferencesAnyUser), "pass");
    EXPECT_EQ(preference("JBAManageTypeListReference", kCFPreferencesAnyUser), "1");
}

TEST_F(JobAccountingTest, OtherUsersSeeTheModeAndTheSharedSettingsButCannotChangeThem)
{
    RUN_WITH_USER_DATABASE(Users("ann"));
    storeSharedAccountMode("1");
    open();
    auto *list = get<QComboBox>(kModeList);
    EXPECT_FALSE(list->isEnabled()) << "after opening";
    EXPECT_EQ(panel()->getAccountMode(), kJBAAccountModeAdmin);

    const SettingsIDs admin(true);
    const struct
    {
        ControlID id;
        const char *name;
    } controls[] = {{admin.ok(), "OK"},
                    {admin.cancel(), "Cancel"},
                    {admin.restore(), "Restore"},
                    {admin.help(), "Help"},
                    {admin.jobInfo(), "common"},
                    {admin.at('ulst', 901), "list label"},
                    {admin.nameList(), "list"},
                    {admin.at('uist', 902), "user ID label"},
                    {admin.userID(), "user ID"},
                    {admin.login(), "login"},
                    {admin.at('upst', 903), "password label"},
                    {admin.password(), "password"},
                    {admin.jobInput(), "input"}};
    std::vector<std::string> enabled, disabled;
    {
        ModalScript script;
        script.when("AuthenticationAdmin",
                    {Inspect([&](WindowRef w) {
                         for (const auto &c : controls) {
                             QWidget *widget = ModalScript::widget(w, c.id);
                             (widget && widget->isEnabled() ? enabled : disabled).push_back(c.name);
                         }
                     }),
                     ModalScript::click(admin.ok())});
        click(kSettingsButton);
    }
    EXPECT_EQ(enabled, (std::vector<std::string>{"OK", "Cancel", "Help"}));
    EXPECT_EQ(disabled.size(), 10u);
    EXPECT_FALSE(list->isEnabled()) << "after the settings window";
    ASSERT_TRUE(pressPrint());
    EXPECT_FALSE(list->isEnabled()) << "after Print";
    EXPECT_EQ(ticket("JBAManageTypeListTicketKey"), "1");
}

// Turns on input at print time in the personal settings.
void AskAtPrint(ModalScript &script)
{
    const SettingsIDs user(false);
    script.when("Authentication",
                {ModalScript::click(user.jobInput()), ModalScript::click(user.ok())});
}

TEST_F(JobAccountingTest, InputAtPrintHoldsTheJobBackUntilConfirmed)
{
    open();
    {
        ModalScript script;
        AskAtPrint(script);
        click(kSettingsButton);
    }
    EXPECT_TRUE(panel()->getbInputWndVisible());
    const std::vector<std::string> expected = {"Account Mode: Personal settings",
                                               "User Settings: Ask for a user ID and password "
                                               "when printing"};
    EXPECT_EQ(summary(), expected) << "the input window is never listed";
    {
        ModalScript script;
        script.when("UserInput",
                    {ModalScript::type(kInputUserID, "abc"), ModalScript::click(kInputCancel)});
        EXPECT_FALSE(pressPrint()) << "the dialog stays open";
    }
    EXPECT_EQ(panel()->GetPrintCommandState(), kNoPrintCommandPending);
    EXPECT_NE(sync(), noErr);
    EXPECT_TRUE(session->ticket().entries().empty()) << "nothing is written after a cancel";

    std::string shownUserID;
    {
        ModalScript script;
        script.when("UserInput",
                    {Inspect([&](WindowRef w) { shownUserID = Text(w, kInputUserID); }),
                     ModalScript::type(kInputUserID, "abc"),
                     ModalScript::type(kInputPassword, "secret1"), ModalScript::click(kInputOK)});
        ASSERT_TRUE(pressPrint());
    }
    EXPECT_EQ(shownUserID, "") << "the cancelled input was not kept";
    EXPECT_EQ(panel()->GetPrintCommandState(), kPrintCommandProceed);
    EXPECT_EQ(ticket("JBAInputUserIDTextEditTicket"), "abc");
    EXPECT_EQ(ticket("JBAInputUserPasswordTextEditTicket"), Scrambled("secret1"));
    EXPECT_EQ(ticket("JBAUserInputRadioBtnTicket"), "1");
    EXPECT_EQ(preference("JBAInputUserIDTextEditReference", kCFPreferencesCurrentUser), "abc");

    // The next dialog shows the confirmed input again.
    open();
    std::string shownAgain;
    {
        ModalScript script;
        script.when("UserInput", {Inspect([&](WindowRef w) { shownAgain = Text(w, kInputUserID); }),
                                  ModalScript::click(kInputOK)});
        ASSERT_TRUE(pressPrint());
    }
    EXPECT_EQ(shownAgain, "abc");
}

TEST_F(JobAccountingTest, WithoutInputAtPrintThePrintGoesOnAfterAnEarlierCancel)
{
    open();
    panel()->SetPrintCommandState(kNoPrintCommandPending);
    ModalScript script; // no window may open
    ASSERT_TRUE(pressPrint());
    EXPECT_EQ(panel()->GetPrintCommandState(), kPrintCommandProceed);
    EXPECT_EQ(ticket("JBAManageTypeListTicketKey"), "2");
}

TEST_F(JobAccountingTest, InputWindowRefusesAnInvalidUserIDOrPassword)
{
    const struct
    {
        const char *userID;
        const char *password;
        std::string message; // empty: accepted
        ControlID focus;
    } cases[] = {
        {"", "", kWarning32, kInputUserID},
        {"   ", "", kWarning32, kInputUserID},
        {"abc", "ab", kWarning33, kInputPassword},
        {"abc", "   ", kWarning33, kInputPassword},
        {"abc", "", "", {}},
    };
    for (const auto &c : cases) {
        open();
        {
            ModalScript script;
            AskAtPrint(script);
            click(kSettingsButton);
        }
        std::string message;
        bool focused = false;
        ModalScript script;
        if (c.message.empty()) {
            script.when("UserInput", {ModalScript::type(kInputUserID, c.userID),
                                      ModalScript::type(kInputPassword, c.password),
                                      ModalScript::click(kInputOK)});
        } else {
            script.when("UserInput", {ModalScript::type(kInputUserID, c.userID),
                                      ModalScript::type(kInputPassword, c.password),
                                      ModalScript::click(kInputOK), Inspect([&](WindowRef w) {
                                          QWidget *field = ModalScript::widget(w, c.focus);
                                          focused =
                                              field && field->window()->focusWidget() == field;
                                      }),
                                      ModalScript::click(kInputCancel)});
            script.when("About", ReadAlert(&message));
        }
        EXPECT_EQ(pressPrint(), c.message.empty()) << c.userID << "/" << c.password;
        EXPECT_EQ(message, c.message) << c.userID << "/" << c.password;
        if (!c.message.empty())
            EXPECT_TRUE(focused) << "the refused field has the focus";
        else
            EXPECT_EQ(ticket("JBAInputUserIDTextEditTicket"), c.userID);
    }
}

TEST_F(JobAccountingTest, SettingsWindowRefusesInvalidDetails)
{
    const SettingsIDs user(false);
    const struct
    {
        int nameItem;
        const char *userID;
        const char *password;
        bool askAtPrint; // the refusal comes from choosing input at print time
        std::string message;
    } cases[] = {
        {2, "", "", false, kWarning32},
        {2, "   ", "", false, kWarning32},
        {1, "", "abc", false, kWarning33},
        {2, "bob", "abc", true, kWarning33},
        {1, "", "", false, ""},
        {2, "bob", "", true, ""},
    };
    for (const auto &c : cases) {
        open();
        std::string message;
        bool inputChosen = true;
        {
            ModalScript script;
            std::vector<ModalScript::Action> steps = {
                ModalScript::choose(user.nameList(), c.nameItem),
                ModalScript::type(user.userID(), c.userID),
                ModalScript::type(user.password(), c.password)};
            if (c.askAtPrint)
                steps.push_back(ModalScript::click(user.jobInput()));
            steps.push_back(Inspect([&](WindowRef w) {
                inputChosen = Get<QRadioButton>(w, user.jobInput())->isChecked();
            }));
            // A radio button that sprang back has shown the message already.
            if (!c.askAtPrint || c.message.empty())
                steps.push_back(ModalScript::click(user.ok()));
            if (!c.message.empty())
                steps.push_back(ModalScript::click(user.cancel()));
            script.when("Authentication", [steps](WindowRef w) {
                for (const auto &step : steps)
                    step(w);
            });
            if (!c.message.empty())
                script.when("About", ReadAlert(&message));
            click(kSettingsButton);
        }
        const std::string label = std::to_string(c.nameItem) + "/" + c.userID + "/" + c.password;
        EXPECT_EQ(message, c.message) << label;
        EXPECT_EQ(inputChosen, c.askAtPrint && c.message.empty()) << label << ": springs back";
        ModalScript printing;
        if (inputChosen)
            printing.when("UserInput",
                          {ModalScript::type(kInputUserID, "bob"), ModalScript::click(kInputOK)});
        ASSERT_TRUE(pressPrint());
        EXPECT_EQ(ticket("JBAUserIDListCtrlTicket"),
                  c.message.empty() ? std::to_string(c.nameItem) : "1")
            << label << ": committed only by a successful OK";
    }
}

TEST_F(JobAccountingTest, CancelAndRestoreDoNotCommit)
{
    const SettingsIDs user(false);
    open();
    {
        ModalScript script;
        script.when("Authentication",
                    {ModalScript::choose(user.nameList(), 2),
                     ModalScript::type(user.userID(), "bob"), ModalScript::click(user.ok())});
        click(kSettingsButton);
    }
    std::string shownAfterCancel, restoredLogin, restoredUserID, shownAfterRestore;
    int restoredItem = 0;
    {
        ModalScript script;
        script.when("Authentication",
                    {Clear(user.userID()), ModalScript::type(user.userID(), "carol"),
                     ModalScript::click(user.cancel())});
        script.when("Authentication",
                    {Inspect([&](WindowRef w) { shownAfterCancel = Text(w, user.userID()); }),
                     ModalScript::click(user.restore()), Inspect([&](WindowRef w) {
                         restoredItem = Get<QComboBox>(w, user.nameList())->currentIndex() + 1;
                         restoredLogin = Text(w, user.login());
                     }),
                     ModalScript::click(user.cancel())});
        script.when("Authentication",
                    {Inspect([&](WindowRef w) { shownAfterRestore = Text(w, user.userID()); }),
                     ModalScript::click(user.cancel())});
        for (int i = 0; i < 3; ++i)
            click(kSettingsButton);
    }
    EXPECT_EQ(shownAfterCancel, "bob");
    EXPECT_EQ(restoredItem, 1);
    EXPECT_EQ(restoredLogin, DialogUser());
    EXPECT_EQ(shownAfterRestore, "bob");
    ASSERT_TRUE(pressPrint());
    EXPECT_EQ(ticket("JBAUserIDListCtrlTicket"), "2");
    EXPECT_EQ(ticket("JBAUserIDTextEditTicket"), "bob");
}

TEST_F(JobAccountingTest, HelpPagesAreNamedAfterThePrinterDescription)
{
    const SettingsIDs user(false);
    open();
    click(kHelpButton);
    const std::string panePage = VeltraLastHelpPage();
    {
        ModalScript script;
        script.when("Authentication",
                    {ModalScript::click(user.help()), ModalScript::click(user.cancel())});
        click(kSettingsButton);
    }
    const std::string windowPage = VeltraLastHelpPage();
    EXPECT_TRUE(QString::fromStdString(panePage).endsWith("/Help/JBA_Printer01.htm")) << panePage;
    EXPECT_TRUE(QString::fromStdString(windowPage).endsWith("/Help/DetailedUS_Printer01.htm"))
        << windowPage;
}

TEST_F(JobAccountingTest, SharedSettingsTheStoreRefusesAreToldOnceAndTheUsersOwnAreSaved)
{
    // The shared store cannot be written: its folder would have to be made inside a plain file.
    QFile blocker(prefsDir.filePath("etc"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray user = prefsDir.filePath("user.prefs").toUtf8();
    const QByteArray any = prefsDir.filePath("etc/veltra-pde/any.prefs").toUtf8();
    VeltraPreferencesSetStoreFiles(user.constData(), any.constData());
    open();
    std::string message;
    qputenv("VELTRA_PDE_DIAGNOSTICS", "1");
    StderrCapture errors;
    {
        ModalScript script;
        script.when("About", {ReadAlert(&message)});
        EXPECT_TRUE(pressPrint());
    }
    qunsetenv("VELTRA_PDE_DIAGNOSTICS");
    // Whoever debugs the driver can see which control lost which key.
    EXPECT_NE(errors.text().find("veltra-pde: control 'jals' 101: the preference "
                                 "com.veltra.kzu.printsettings.JBAManageTypeListReference was "
                                 "not written"),
              std::string::npos);
    EXPECT_EQ(message, "Only an administrator can change the shared accounting settings; they "
                       "were not saved.");
    // A second Print says nothing more (an alert out of turn fails the script).
    {
        ModalScript script;
        EXPECT_TRUE(pressPrint());
    }
    EXPECT_EQ(ticket("JBAManageTypeListTicketKey"), "2");
    VeltraPreferencesSetStoreFiles(user.constData(), any.constData());
    EXPECT_NE(preference("JBAUserSettingRadioBtnReference", kCFPreferencesCurrentUser), "<none>");
    EXPECT_EQ(preference("JBAManageTypeListReference", kCFPreferencesAnyUser), "<none>");
}

} // namespace
} // namespace jobaccounting

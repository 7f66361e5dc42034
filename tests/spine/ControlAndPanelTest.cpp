// What a control writes to the ticket and the preferences, how it enables and hides others, and
// the panel: loading the pane into the dialog, intercepting Print, reaching other controls.
#include "SpineFixture.h"

#include "SessionAccess.h"

#include <QTest>

namespace {

// The line edits target1..target3 of the choice test window.
ControlID fieldID = {'ctgt', 1}, otherID = {'ctgt', 2}, targetID = {'ctgt', 3};
ControlAccessInfo fieldAccess = {'cfst', 'cfst', nullptr,
                                 CFSTR("com.veltra.kzu.printsettings.TestTicketKey"),
                                 CFSTR("com.veltra.kzu.printsettings.TestReference")};
ControlAccessInfo ticketOnlyAccess = {'cfst', 'cfst', nullptr,
                                      CFSTR("com.veltra.kzu.printsettings.TicketOnly"), nullptr};

Rect BoundsOf(ControlRef control)
{
    Rect r;
    GetControlBounds(control, &r);
    return r;
}

} // namespace

class ControlModelTest : public SpineTest
{
protected:
    void SetUp() override
    {
        SpineTest::SetUp();
        fieldAccess.preferenceUser = kCFPreferencesCurrentUser;
    }
    std::unique_ptr<veltra::PrintSession> session = sampleSession("Lobby Printer");
    PMTicketRef ticket = session->ticket().ref();
    TestPanel panel;
};

TEST_F(ControlModelTest, TicketGetsPlainTextByteListOrScrambledText)
{
    // The plain form is written by a control not on the encode list, the scrambled by one on it.
    const std::tuple<std::string, std::string, std::string> rows[] = {
        {"abc", "abc", "EAAX"},
        {"a,b", "/97/44/98", "EE4W"},
        {"J\xC3\xB6rg", "J\xC3\xB6rg", "O6HCHA=="}, // scrambled by its display length
        {"", "", ""},                               // an empty value is written empty
        // More than 189 bytes cannot be coded in the ticket buffer: the old value stays.
        {std::string(255, ','), QString("/44").repeated(255).toStdString(), "<refused>"}};
    auto *plain = panel.add(new TestTextControl(&otherID, &fieldAccess));
    auto *coded = panel.add(new TestTextControl(&fieldID, &ticketOnlyAccess));
    auto *noID = panel.add(new TestTextControl(nullptr, &fieldAccess));
    CFRef<CFMutableArrayRef> encodeList(CreateEncodeArray());
    AddControlToEncodeArray(nullptr, fieldID.signature, fieldID.id, encodeList);
    for (const auto &[value, plainText, scrambled] : rows) {
        SCOPED_TRACE(value.substr(0, 20));
        plain->setValue(value);
        coded->setValue("1234");
        ASSERT_TRUE(coded->SetValueToTicket(ticket, false, encodeList));
        coded->setValue(value);
        EXPECT_TRUE(plain->SetValueToTicket(ticket, false, encodeList));
        EXPECT_EQ(TicketValue(*session, "com.veltra.kzu.printsettings.TestTicketKey"), plainText);
        const bool refused = scrambled == "<refused>";
        EXPECT_EQ(coded->SetValueToTicket(ticket, false, encodeList), !refused);
        EXPECT_EQ(TicketValue(*session, "com.veltra.kzu.printsettings.TicketOnly"),
                  refused ? Scrambled("1234") : scrambled);
        // Reading the ticket decodes the byte list (of a value that fits the read buffer).
        plain->setValue("");
        EXPECT_TRUE(plain->GetValueFromTicket(ticket));
        EXPECT_EQ(plain->value(), plainText.size() < 256 ? value : "");
    }
    // A control without identity is on no list: written plain.
    noID->setValue("a,b");
    EXPECT_TRUE(noID->SetValueToTicket(ticket, false, encodeList));
    EXPECT_EQ(TicketValue(*session, "com.veltra.kzu.printsettings.TestTicketKey"), "/97/44/98");
    for (const auto &entry : session->ticket().entries()) // every entry is the panes' own
        EXPECT_EQ(entry.client, "com.veltra.kzu.AccountKind");
}

TEST_F(ControlModelTest, TicketWritesThatCannotHappen)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    control->setValue("unchanged");
    EXPECT_TRUE(control->GetValueFromTicket(ticket)); // an absent key leaves the value alone
    EXPECT_EQ(control->value(), "unchanged");
    // Without a ticket key nothing is written, plain or scrambled, nor read.
    auto *keyless = panel.add(new TestTextControl(&otherID));
    keyless->setValue("abc");
    EXPECT_FALSE(keyless->SetValueToTicket(ticket, false));
    EXPECT_FALSE(keyless->SetValueToTicketWithWmbEnc(ticket, false));
    EXPECT_FALSE(keyless->GetValueFromTicket(ticket));
    EXPECT_FALSE(control->GetValueFromTicket(nullptr));
    EXPECT_TRUE(session->ticket().entries().empty());
}

TEST_F(ControlModelTest, PreferenceKeyIsPrinterFollowedByPreferenceKey)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    auto *ticketOnly = panel.add(new TestTextControl(&otherID, &ticketOnlyAccess));
    control->setValue("kept"); // no printer yet: nothing saved or loaded
    EXPECT_FALSE(control->SetValueToPreference());
    EXPECT_FALSE(control->GetValueToPreference());
    EXPECT_EQ(StoredPreference("com.veltra.kzu.printsettings.TestReference"), "<none>");

    ASSERT_TRUE(panel.SetCurrentPrinterString(session->ref()));
    EXPECT_TRUE(control->SetValueToPreference());
    EXPECT_EQ(StoredPreference("Lobby Printercom.veltra.kzu.printsettings.TestReference"), "kept");
    // A control without preference key succeeds and stores nothing.
    ticketOnly->setValue("value");
    EXPECT_TRUE(ticketOnly->SetValueToPreference());
    EXPECT_TRUE(ticketOnly->GetValueToPreference());
    EXPECT_EQ(ticketOnly->value(), "value");
    EXPECT_EQ(StoredPreference("Lobby Printer"), "<none>");
    // The panel pass: a stored value wins.
    control->setValue("changed");
    panel.GetValueFromPreference();
    EXPECT_EQ(control->value(), "kept");
    // Without a default the default pass leaves the value, and that is no failure.
    EXPECT_TRUE(control->SetControlValueToDefault());
    EXPECT_EQ(control->value(), "kept");
}

TEST_F(ControlModelTest, TargetStaysDisabledUntilEverySourceReleasesItInItsState)
{
    UiTestWindow w("ChoiceWindow");
    auto *target = panel.add(new TestTextControl(&targetID));
    auto *first = panel.add(new TestTextControl(&fieldID));
    auto *second = panel.add(new TestTextControl(&otherID));
    ASSERT_TRUE(target->InitializeCtrl(w.window));
    ControlID *list[] = {&targetID, nullptr};
    QLineEdit *field = w.Find<QLineEdit>("target3");

    first->DisableControlConstrains(list);
    second->DisableControlConstrains(list);
    first->EnableControlConstrains(list);
    EXPECT_FALSE(field->isEnabled());
    EXPECT_EQ(target->GetDisableCount(), 1);
    second->EnableControlConstrains(list);
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(target->GetDisableCount(), 0);
    // An unmatched enable leaves the widget alone; the next disable only rebalances the count.
    target->Enable();
    target->Disable();
    EXPECT_TRUE(field->isEnabled());
    target->Disable();
    EXPECT_FALSE(field->isEnabled());
    // A reset activates but does not show a hidden widget; counts start again at zero.
    first->HideControlConstrains(list);
    target->Hide();
    target->ResetStatus();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_TRUE(field->isHidden());
    EXPECT_EQ(target->GetDisableCount(), 0);
    EXPECT_EQ(target->GetHideCount(), 0);
    target->Hide();
    first->ShowControlConstrains(list);
    EXPECT_FALSE(field->isHidden());

    // A source with state tables applies only the list of its current state.
    static ControlID *stateOne[] = {&targetID, nullptr};
    static const ControlIDList lists[] = {nullptr, stateOne, nullptr};
    static const ControlStateTable table = MakeStateTable(lists);
    static ConstrainInfo constrain = {&table, &table, nullptr, nullptr};
    auto *source = panel.add(new TestTextControl(&otherID, nullptr, &constrain));
    for (SInt32 state : {-1, 0, 2, 3, 40, 1}) {
        source->state = state;
        source->DisableControlConstrains();
        source->HideControlConstrains();
        EXPECT_EQ(target->GetDisableCount(), int(state == 1)) << state;
        EXPECT_EQ(target->GetHideCount(), int(state == 1)) << state;
    }
    EXPECT_TRUE(field->isHidden());
    source->EnableControlConstrains();
    source->ShowControlConstrains();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_FALSE(field->isHidden());
}

// A click runs the control's constraints, then records the widget's value; a command of the
// same kind number is no click, and a hit without its control is passed on untouched. A vetoed
// Print is consumed and commits nothing.
TEST_F(ControlModelTest, ControlClickAndPrintCommand)
{
    UiTestWindow w("ChoiceWindow");
    struct Recording : TestTextControl
    {
        using TestTextControl::TestTextControl;
        std::string seenByConstraints = "<none>";
        bool UIEventHandler() override
        {
            seenByConstraints = widgetValue();
            return TestTextControl::UIEventHandler();
        }
    };
    auto *name = panel.add(new Recording(&fieldID));
    ASSERT_TRUE(name->InitializeCtrl(w.window));
    panel.SetControlEventHandler();
    w.Find<QLineEdit>("target1")->setText("first");
    name->GetValueFromUI();
    w.Find<QLineEdit>("target1")->setText("second");
    for (UInt32 eventClass : {kEventClassCommand, kEventClassControl}) {
        EventRef event = nullptr;
        ASSERT_EQ(CreateEvent(nullptr, eventClass, kEventControlHit, 0, 0, &event), noErr);
        ControlRef target = name->GetControlRef();
        SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof target, &target);
        EXPECT_EQ(SendEventToEventTarget(event, GetControlEventTarget(target)), eventNotHandledErr);
        Recording *userData = eventClass == kEventClassControl ? nullptr : name;
        EXPECT_EQ(CBasePrintPanel::Control_DefaultCommandHandler(nullptr, event, userData),
                  eventNotHandledErr);
        ReleaseEvent(event);
        EXPECT_EQ(name->seenByConstraints, eventClass == kEventClassControl ? "first" : "<none>");
        EXPECT_EQ(name->widgetValue(), eventClass == kEventClassControl ? "second" : "first");
    }

    // The panel's Print handler sits on the dialog window, as InitializeUserPane installs it.
    name->setValue("committed");
    EventHandlerRef handler = nullptr;
    const EventTypeSpec command = {kEventClassCommand, kEventCommandProcess};
    ASSERT_EQ(InstallEventHandler(GetWindowEventTarget(window),
                                  CBasePrintPanel::Control_DefaultPrintBtnHandler, 1, &command,
                                  &panel, &handler),
              noErr);
    QTest::keyClicks(w.Find<QLineEdit>("target1"), "typed");
    panel.allowPrint = false;
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), noErr);
    EXPECT_EQ(panel.printCommands, 1);
    EXPECT_EQ(name->value(), "committed");
    // Other commands pass by without asking the panel.
    EXPECT_EQ(ProcessHICommandInWindow(window, 'abcd'), eventNotHandledErr);
    EXPECT_EQ(panel.printCommands, 1);
    panel.allowPrint = true;
    EXPECT_EQ(ProcessHICommandInWindow(window, kHICommandOK), eventNotHandledErr);
    EXPECT_EQ(panel.printCommands, 2);
    EXPECT_EQ(name->value(), "secondtyped");
    RemoveEventHandler(handler);
}

// The nib pane is centred in the dialog's pane, which grows to hold it.
TEST_F(ControlModelTest, NibPaneIsCentredInTheDialogPaneWhichGrowsToHoldIt)
{
    for (QSize size : {QSize(100, 50), QSize(800, 500)}) {
        SCOPED_TRACE(size.width());
        TestDialog shown;
        TestPanel pane;
        pane.useNib(GetPDENibFileName(), CFSTR("Window"), ControlID{'joup', 1});
        shown.paneWidget->setMinimumSize(0, 0);
        shown.dialog->resize(size);
        shown.dialog->show();
        ASSERT_EQ(pane.InitializeUserPane(0, shown.userPane, bundle, nullptr), 0);
        EXPECT_TRUE(pane.IsPrintCommandIntercepted());
        const Rect frame = BoundsOf(shown.userPane);
        EXPECT_GE(frame.right - frame.left, 480);
        EXPECT_GE(frame.bottom - frame.top, 300);
        ControlRef nibPane = nullptr;
        const ControlID paneID = {'joup', 1};
        ASSERT_EQ(GetControlByID(shown.window, &paneID, &nibPane), noErr);
        const Rect bounds = BoundsOf(nibPane);
        EXPECT_EQ(bounds.right - bounds.left, 480);
        EXPECT_EQ(bounds.left - frame.left, ((frame.right - frame.left) - 480) / 2);
        EXPECT_EQ(bounds.top, frame.top);
    }
}

TEST_F(ControlModelTest, ResourceNamesFollowTheSettingsAttribute)
{
    char value[] = "Printer01-Printer07", noHyphen[] = "Printer01";
    CFRef<CFStringRef> nibPart(GetAppResourceName(value, 0)),
        helpPart(GetAppResourceName(value, 1));
    const std::pair<CFStringRef, const char *> rows[] = {
        {GetAppFullResourceNameJBA(nibPart, 0), "OrvPrintJBA_Printer01"},
        {GetAppFullResourceNameJBA(helpPart, 1), "JBA_Printer07"},
        {GetAppFullResourceNamePrintType(helpPart, 5), "Printer07"},
        {GetAppResourceName(noHyphen, 0), "Printer01"},
        {GetAppResourceName(noHyphen, 1), ""}};
    for (const auto &[name, expected] : rows) {
        CFRef<CFStringRef> holder(name);
        EXPECT_EQ(QStringFromCF(name), expected);
    }
    // A name that does not fit the name buffer gives no name rather than a cut one.
    CFRef<CFStringRef> huge(CFStringCreateWithQString(QString(300, u'x')));
    EXPECT_EQ(GetAppFullResourceNameJBA(huge, 0), nullptr);
}

// What a control writes to the ticket and the preferences, and how it enables and hides others.
#include "SpineFixture.h"

#include "AppResources.h"

namespace {

ControlID fieldID = {'tsfd', 1};
ControlID otherID = {'tsfd', 2};
ControlID targetID = {'tstg', 3};

ControlAccessInfo fieldAccess = {'cfst', 'cfst', nullptr,
                                 CFSTR("com.veltra.kzu.printsettings.TestTicketKey"),
                                 CFSTR("com.veltra.kzu.printsettings.TestReference")};
ControlAccessInfo ticketOnlyAccess = {'cfst', 'cfst', nullptr,
                                      CFSTR("com.veltra.kzu.printsettings.TicketOnly"), nullptr};
const char kFieldKey[] = "com.veltra.kzu.printsettings.TestTicketKey";

} // namespace

class ControlModelTest : public SpineTest
{
protected:
    void SetUp() override
    {
        SpineTest::SetUp();
        fieldAccess.preferenceUser = kCFPreferencesCurrentUser;
        session = sampleSession("Lobby Printer");
        ticket = session->ticket().ref();
    }
    std::string ticketValue(const char *key) const
    {
        const std::string *v = session->ticket().value(key);
        return v ? *v : "<absent>";
    }

    std::unique_ptr<veltra::PrintSession> session;
    PMTicketRef ticket = nullptr;
    TestPanel panel;
};

TEST_F(ControlModelTest, TicketGetsPlainTextByteListOrScrambledText)
{
    const struct
    {
        std::string value;
        std::string plain;     // written by a control not on the encode list
        std::string scrambled; // written by a control on it
    } cases[] = {
        {"abc", "abc", "EAAX"},
        {"a,b", "/97/44/98", "EE4W"},
        {"it's", "/105/116/39/115", "GBZTHQ=="},
        {"C:\\x", "/67/58/92/120", "MlgoFg=="},
        {"/x", "/47/120", "Xho="},
        {"J\xC3\xB6rg", "J\xC3\xB6rg", "O6HCHA=="}, // scrambled by its display length
        {"1234", "1234", "QFBHWg=="},
        {"qbtn", "qbtn", "AAAAAA=="}, // every byte NUL, still a whole text
        {"", "", ""},                 // an empty value is written empty, not encoded
        {std::string(255, ','),
         [] {
             std::string s;
             for (int i = 0; i < 255; ++i)
                 s += "/44";
             return s;
         }(),
         "<refused>"}, // more than 189 bytes cannot be coded in the ticket buffer
    };
    auto *plain = panel.add(new TestTextControl(&otherID, &fieldAccess));
    auto *coded = panel.add(new TestTextControl(&fieldID, &ticketOnlyAccess));
    CFRef<CFMutableArrayRef> encodeList(CreateEncodeArray());
    AddControlToEncodeArray(nullptr, fieldID.signature, fieldID.id, encodeList);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value.substr(0, 20));
        plain->setValue(c.value);
        coded->setValue("1234");
        ASSERT_TRUE(coded->SetValueToTicket(ticket, false, encodeList));
        coded->setValue(c.value);
        EXPECT_TRUE(plain->SetValueToTicket(ticket, false, encodeList));
        EXPECT_EQ(ticketValue(kFieldKey), c.plain);
        const bool refused = c.scrambled == "<refused>";
        EXPECT_EQ(coded->SetValueToTicket(ticket, false, encodeList), !refused);
        // A refused value leaves the old one.
        EXPECT_EQ(ticketValue("com.veltra.kzu.printsettings.TicketOnly"),
                  refused ? "QFBHWg==" : c.scrambled);

        // Reading the ticket decodes the byte list (of a value that fits the read buffer).
        if (c.plain.size() < 256) {
            plain->setValue("");
            EXPECT_TRUE(plain->GetValueFromTicket(ticket));
            EXPECT_EQ(plain->value(), c.value);
        }
    }
    const std::string longest(189, '7');
    coded->setValue(longest);
    EXPECT_TRUE(coded->SetValueToTicket(ticket, false, encodeList));
    EXPECT_EQ(ticketValue("com.veltra.kzu.printsettings.TicketOnly").size(), 252u);
    // Every entry is the panes' own.
    for (const auto &entry : session->ticket().entries())
        EXPECT_EQ(entry.client, "com.veltra.kzu.AccountKind");
}

TEST_F(ControlModelTest, TicketWritesThatCannotHappen)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    control->setValue("unchanged");
    // An absent key leaves the value as it was.
    EXPECT_TRUE(control->GetValueFromTicket(ticket));
    EXPECT_EQ(control->value(), "unchanged");
    // A handle the session does not hold is refused.
    EXPECT_FALSE(control->SetValueToTicket(reinterpret_cast<PMTicketRef>(intptr_t(987654)), false));
    // Without a ticket key nothing is written, plain or scrambled.
    auto *keyless = panel.add(new TestTextControl(&otherID));
    keyless->setValue("abc");
    EXPECT_FALSE(keyless->SetValueToTicket(ticket, false));
    EXPECT_FALSE(keyless->SetValueToTicketWithWmbEnc(ticket, false));
    // Nor read: a control without key or ticket answers false.
    EXPECT_FALSE(keyless->GetValueFromTicket(ticket));
    EXPECT_FALSE(control->GetValueFromTicket(nullptr));
    EXPECT_TRUE(session->ticket().entries().empty());
}

TEST_F(ControlModelTest, PreferenceKeyIsPrinterFollowedByPreferenceKey)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    auto *ticketOnly = panel.add(new TestTextControl(&otherID, &ticketOnlyAccess));
    // No printer yet: nothing saved or loaded.
    control->setValue("kept");
    EXPECT_FALSE(control->SetValueToPreference());
    EXPECT_FALSE(control->GetValueToPreference());
    EXPECT_EQ(StoredPreference(CFSTR("com.veltra.kzu.printsettings.TestReference")), "<none>");

    ASSERT_TRUE(panel.SetCurrentPrinterString(session->ref()));
    EXPECT_TRUE(control->SetValueToPreference());
    EXPECT_EQ(
        StoredPreference(std::string("Lobby Printercom.veltra.kzu.printsettings.TestReference")),
        "kept");
    control->setValue("other");
    EXPECT_TRUE(control->GetValueToPreference());
    EXPECT_EQ(control->value(), "kept");

    // A control without preference key succeeds and stores nothing.
    ticketOnly->setValue("value");
    EXPECT_TRUE(ticketOnly->SetValueToPreference());
    EXPECT_TRUE(ticketOnly->GetValueToPreference());
    EXPECT_EQ(ticketOnly->value(), "value");
    EXPECT_EQ(StoredPreference(CFSTR("Lobby Printer")), "<none>");

    // The panel pass: a stored value wins; without one (and without default) the value stays.
    control->setValue("changed");
    panel.GetValueFromPreference();
    EXPECT_EQ(control->value(), "kept");

    // Another printer has its own value.
    veltra::PrintSession second("Annex", openPPD(VELTRA_SAMPLE_PPD));
    ASSERT_TRUE(panel.SetCurrentPrinterString(second.ref()));
    EXPECT_FALSE(control->GetValueToPreference());
    control->setValue("stale");
    panel.GetValueFromPreference();
    EXPECT_EQ(control->value(), "stale");
}

TEST_F(ControlModelTest, TargetStaysDisabledUntilEverySourceReleasesIt)
{
    FieldWindow w = fieldWindow({targetID});
    w.widget->show();
    auto *target = panel.add(new TestTextControl(&targetID));
    auto *first = panel.add(new TestTextControl(&fieldID));
    auto *second = panel.add(new TestTextControl(&otherID));
    ASSERT_TRUE(target->InitializeCtrl(w.window));
    ControlID *list[] = {&targetID, nullptr};
    QLineEdit *field = w.field(0);

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
    EXPECT_TRUE(field->isHidden());
    target->ResetStatus();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_TRUE(field->isHidden());
    EXPECT_EQ(target->GetDisableCount(), 0);
    EXPECT_EQ(target->GetHideCount(), 0);
    target->Hide();
    first->ShowControlConstrains(list);
    EXPECT_FALSE(field->isHidden());
}

TEST_F(ControlModelTest, StateTablesApplyOnlyTheListOfTheCurrentState)
{
    FieldWindow w = fieldWindow({targetID});
    auto *target = panel.add(new TestTextControl(&targetID));
    ASSERT_TRUE(target->InitializeCtrl(w.window));

    static ControlID *stateOne[] = {&targetID, nullptr};
    static const ControlIDList lists[] = {nullptr, stateOne, nullptr};
    static const ControlStateTable table = MakeStateTable(lists);
    static ConstrainInfo constrain = {&table, &table, nullptr, nullptr};
    auto *source = panel.add(new TestTextControl(&fieldID, nullptr, &constrain));

    for (SInt32 state : {-1, 0, 2, 3, 40}) {
        source->state = state;
        source->DisableControlConstrains();
        source->HideControlConstrains();
        EXPECT_EQ(target->GetDisableCount(), 0) << state;
        EXPECT_EQ(target->GetHideCount(), 0) << state;
    }
    source->state = 1;
    source->DisableControlConstrains();
    source->HideControlConstrains();
    EXPECT_FALSE(w.field(0)->isEnabled());
    EXPECT_EQ(target->GetHideCount(), 1);
    source->EnableControlConstrains();
    source->ShowControlConstrains();
    EXPECT_TRUE(w.field(0)->isEnabled());
    EXPECT_EQ(target->GetHideCount(), 0);
}

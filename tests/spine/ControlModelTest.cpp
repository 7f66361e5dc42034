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

struct TicketCase
{
    const char *value;
    const char *expected;
};

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

TEST_F(ControlModelTest, TicketGetsPlainTextOrByteListForTextTheDriverCouldMisread)
{
    const TicketCase cases[] = {
        {"abc", "abc"},
        {"a,b", "/97/44/98"},
        {"it's", "/105/116/39/115"},
        {"C:\\x", "/67/58/92/120"},
        {"/x", "/47/120"},
        {"Jörg", "Jörg"},
        {"", ""},
    };
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    for (const TicketCase &c : cases) {
        control->setValue(c.value);
        EXPECT_TRUE(control->SetValueToTicket(ticket, false)) << c.value;
        EXPECT_EQ(ticketValue("com.veltra.kzu.printsettings.TestTicketKey"), c.expected) << c.value;
    }
    // Every entry is the panes' own.
    for (const auto &entry : session->ticket().entries())
        EXPECT_EQ(entry.client, "com.veltra.kzu.AccountKind");
}

TEST_F(ControlModelTest, LongestValueFitsTheByteListForm)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    std::string longValue(255, ',');
    control->setValue(longValue.c_str());
    ASSERT_TRUE(control->SetValueToTicket(ticket, false));
    const std::string written = ticketValue("com.veltra.kzu.printsettings.TestTicketKey");
    EXPECT_EQ(written.size(), 255u * 3);
    EXPECT_EQ(written.substr(0, 6), "/44/44");
}

TEST_F(ControlModelTest, ControlWithoutTicketKeyWritesNothing)
{
    auto *control = panel.add(new TestTextControl(&fieldID, nullptr));
    control->setValue("abc");
    EXPECT_FALSE(control->SetValueToTicket(ticket, false));
    EXPECT_TRUE(session->ticket().entries().empty());
}

TEST_F(ControlModelTest, TicketHandleTheSessionDoesNotHoldIsRefused)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    control->setValue("abc");
    EXPECT_FALSE(control->SetValueToTicket(reinterpret_cast<PMTicketRef>(intptr_t(987654)), false));
}

TEST_F(ControlModelTest, ReadingTheTicketDecodesTheByteListForm)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    control->setValue("unchanged");
    // An absent key leaves the value as it was.
    EXPECT_TRUE(control->GetValueFromTicket(ticket));
    EXPECT_EQ(control->value(), "unchanged");

    for (const char *value : {"a,b", "abc", "/x", "C:\\x"}) {
        control->setValue(value);
        ASSERT_TRUE(control->SetValueToTicket(ticket, false));
        control->setValue("");
        EXPECT_TRUE(control->GetValueFromTicket(ticket));
        EXPECT_EQ(control->value(), value);
    }
}

TEST_F(ControlModelTest, PreferenceKeyIsPrinterFollowedByPreferenceKey)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    ASSERT_TRUE(panel.SetCurrentPrinterString(session->ref()));
    control->setValue("kept");
    EXPECT_TRUE(control->SetValueToPreference());
    EXPECT_EQ(preference("Lobby Printercom.veltra.kzu.printsettings.TestReference"), "kept");

    control->setValue("other");
    EXPECT_TRUE(control->GetValueToPreference());
    EXPECT_EQ(control->value(), "kept");

    // Another printer has its own value.
    veltra::PrintSession second("Annex", openPPD(VELTRA_SAMPLE_PPD));
    ASSERT_TRUE(panel.SetCurrentPrinterString(second.ref()));
    EXPECT_FALSE(control->GetValueToPreference());
    EXPECT_EQ(control->value(), "kept");
}

TEST_F(ControlModelTest, NoPrinterYetMeansNothingSavedOrLoaded)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    control->setValue("value");
    EXPECT_FALSE(control->SetValueToPreference());
    EXPECT_FALSE(control->GetValueToPreference());
    EXPECT_EQ(preference("com.veltra.kzu.printsettings.TestReference"), "<none>");
}

TEST_F(ControlModelTest, ControlWithoutPreferenceKeySucceedsAndStoresNothing)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &ticketOnlyAccess));
    ASSERT_TRUE(panel.SetCurrentPrinterString(session->ref()));
    control->setValue("value");
    EXPECT_TRUE(control->SetValueToPreference());
    EXPECT_TRUE(control->GetValueToPreference());
    EXPECT_EQ(control->value(), "value");
    EXPECT_EQ(preference("Lobby Printer"), "<none>");
}

TEST_F(ControlModelTest, MissingPreferenceFallsBackToTheDefaultInThePanelPass)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    ASSERT_TRUE(panel.SetCurrentPrinterString(session->ref()));
    control->setValue("stale");
    panel.GetValueFromPreference();
    // The test control has no default block, so the committed value stays; a stored value wins.
    EXPECT_EQ(control->value(), "stale");
    control->setValue("saved");
    panel.SetValueToPreference();
    control->setValue("changed");
    panel.GetValueFromPreference();
    EXPECT_EQ(control->value(), "saved");
}

TEST_F(ControlModelTest, TargetStaysDisabledUntilEverySourceReleasesIt)
{
    FieldWindow w = fieldWindow({targetID});
    auto *target = panel.add(new TestTextControl(&targetID));
    auto *first = panel.add(new TestTextControl(&fieldID));
    auto *second = panel.add(new TestTextControl(&otherID));
    ASSERT_TRUE(target->InitializeCtrl(w.window));
    ControlID *list[] = {&targetID, nullptr};

    first->DisableControlConstrains(list);
    second->DisableControlConstrains(list);
    EXPECT_FALSE(w.field(0)->isEnabled());
    first->EnableControlConstrains(list);
    EXPECT_FALSE(w.field(0)->isEnabled());
    EXPECT_EQ(target->GetDisableCount(), 1);
    second->EnableControlConstrains(list);
    EXPECT_TRUE(w.field(0)->isEnabled());
    EXPECT_EQ(target->GetDisableCount(), 0);

    // An unmatched enable leaves the widget alone; the next disable only rebalances the count.
    target->Enable();
    EXPECT_TRUE(w.field(0)->isEnabled());
    target->Disable();
    EXPECT_TRUE(w.field(0)->isEnabled());
    target->Disable();
    EXPECT_FALSE(w.field(0)->isEnabled());
}

TEST_F(ControlModelTest, ResetStatusActivatesButDoesNotShowAHiddenWidget)
{
    FieldWindow w = fieldWindow({targetID});
    w.widget->show();
    auto *target = panel.add(new TestTextControl(&targetID));
    ASSERT_TRUE(target->InitializeCtrl(w.window));
    target->Disable();
    target->Disable();
    target->Hide();
    EXPECT_TRUE(w.field(0)->isHidden());
    target->ResetStatus();
    EXPECT_TRUE(w.field(0)->isEnabled());
    EXPECT_TRUE(w.field(0)->isHidden());
    EXPECT_EQ(target->GetDisableCount(), 0);
    EXPECT_EQ(target->GetHideCount(), 0);
    // With the count at zero, one hide and one show restore visibility.
    target->Hide();
    target->Show();
    EXPECT_FALSE(w.field(0)->isHidden());
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
        EXPECT_TRUE(w.field(0)->isEnabled()) << state;
        EXPECT_EQ(target->GetDisableCount(), 0) << state;
        EXPECT_EQ(target->GetHideCount(), 0) << state;
    }
    source->state = 1;
    source->DisableControlConstrains();
    EXPECT_FALSE(w.field(0)->isEnabled());
    source->EnableControlConstrains();
    EXPECT_TRUE(w.field(0)->isEnabled());
}

TEST_F(ControlModelTest, ItoaRightAlignsDigits)
{
    char buffer[8];
    EXPECT_STREQ(CBaseControl::itoa(1234, buffer, sizeof buffer), "1234");
    EXPECT_EQ(buffer[7], 0);
    EXPECT_STREQ(CBaseControl::itoa(0, buffer, sizeof buffer), "");
}

TEST_F(ControlModelTest, NumstrtocharDecodesInPlace)
{
    unsigned char text[16] = "/97/44/98";
    CBaseControl::numstrtochar(text, sizeof text);
    EXPECT_STREQ(reinterpret_cast<char *>(text), "a,b");
    unsigned char plain[8] = "abc";
    CBaseControl::numstrtochar(plain, sizeof plain);
    EXPECT_STREQ(reinterpret_cast<char *>(plain), "abc");
}

TEST_F(ControlModelTest, ControlsOnTheEncodeListWriteScrambledBase64)
{
    auto *control = panel.add(new TestTextControl(&fieldID, &fieldAccess));
    auto *other = panel.add(new TestTextControl(&otherID, &ticketOnlyAccess));
    CFRef<CFMutableArrayRef> encodeList(CreateEncodeArray());
    AddControlToEncodeArray(nullptr, fieldID.signature, fieldID.id, encodeList);
    const char *key = "com.veltra.kzu.printsettings.TestTicketKey";

    struct Case
    {
        const char *value;
        const char *written;
    };
    const Case cases[] = {
        {"1234", "QFBHWg=="},
        {"q", "AA=="},        // equal to its key character: a NUL byte, still a whole text
        {"qbtn", "AAAAAA=="}, // every byte NUL
        {"12345", "QFBHWkQ="},
        {"", ""}, // an empty value is written empty, not encoded
    };
    for (const Case &c : cases) {
        control->setValue(c.value);
        other->setValue(c.value);
        EXPECT_TRUE(control->SetValueToTicket(ticket, false, encodeList)) << c.value;
        EXPECT_EQ(ticketValue(key), c.written) << c.value;
        // A control not on the list writes plain text.
        EXPECT_TRUE(other->SetValueToTicket(ticket, false, encodeList));
        EXPECT_EQ(ticketValue("com.veltra.kzu.printsettings.TicketOnly"), c.value);
    }

    // More than 189 bytes cannot be coded in the ticket buffer: refused, the old value stays.
    control->setValue("1234");
    ASSERT_TRUE(control->SetValueToTicket(ticket, false, encodeList));
    const std::string tooLong(190, '7');
    control->setValue(tooLong.c_str());
    EXPECT_FALSE(control->SetValueToTicket(ticket, false, encodeList));
    EXPECT_EQ(ticketValue(key), "QFBHWg==");
    const std::string longest(189, '7');
    control->setValue(longest.c_str());
    EXPECT_TRUE(control->SetValueToTicket(ticket, false, encodeList));
    EXPECT_EQ(ticketValue(key).size(), 252u);
}

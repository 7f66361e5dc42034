// How a choice value travels: widget -> uiData on a click, uiData -> controlData on commit,
// controlData -> preferences and ticket as decimal text, and back from preferences.
#include "CCheckBoxControl.h"
#include "CListControl.h"
#include "CRadioButton.h"
#include "ChoiceTestPanel.h"

#include <QCheckBox>
#include <QComboBox>

#include <cstring>
#include <functional>

namespace {

CFStringRef jobTypeMenu[] = {CFSTR("Job Type None"), CFSTR("Job Type Secure"),
                             CFSTR("Job Type Sample"), nullptr};

ControlAccessInfo listAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.JobListKey"),
                                CFSTR("JobListReference")};
ControlAccessInfo checkAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.CheckKey"),
                                 CFSTR("CheckReference")};
ControlAccessInfo radioAccess = {0, 0, nullptr, CFSTR("com.veltra.kzu.printsettings.RadioKey"),
                                 CFSTR("RadioReference")};

ListPopupIniData listIni = {0, 2, -1, jobTypeMenu};
CheckBoxIniData checkIni = {1, 1, -1, CFSTR("Check Title")};
RadioButtonIniData radioIni = {0, 0, -1, CFSTR("Radio Title"), nullptr};

const char kPrinter[] = "Veltra_Test_Printer";

struct Kind
{
    const char *name;
    std::function<std::unique_ptr<CBaseControl>()> make;
    ControlAccessInfo *access;
};

const Kind &ListKind()
{
    static const Kind kind{
        "list",
        [] { return std::make_unique<CListControl>(&jobListID, &listIni, nullptr, &listAccess); },
        &listAccess};
    return kind;
}
const Kind &CheckKind()
{
    static const Kind kind{"check box",
                           [] {
                               return std::make_unique<CCheckBoxControl>(&firstCheckID, &checkIni,
                                                                         nullptr, &checkAccess);
                           },
                           &checkAccess};
    return kind;
}
const Kind &RadioKind()
{
    static const Kind kind{
        "radio button",
        [] { return std::make_unique<CRadioButton>(&radioAID, &radioIni, nullptr, &radioAccess); },
        &radioAccess};
    return kind;
}

std::string TextOf(CFStringRef text)
{
    char buffer[256] = {};
    CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

CFStringRef PreferenceKey(const ControlAccessInfo *access)
{
    CFMutableStringRef key = CFStringCreateMutable(nullptr, 0);
    CFStringAppendCString(key, kPrinter, kCFStringEncodingUTF8);
    CFStringAppend(key, access->preferenceKey);
    return key;
}

void StorePreference(const ControlAccessInfo *access, const char *text)
{
    CFRef<CFStringRef> key(PreferenceKey(access));
    CFRef<CFStringRef> value(text ? CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8)
                                  : nullptr);
    CFPreferencesSetValue(key, value.get(), kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                          kCFPreferencesCurrentHost);
    ASSERT_TRUE(CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                                         kCFPreferencesCurrentHost));
}

std::string StoredPreference(const ControlAccessInfo *access)
{
    CFRef<CFStringRef> key(PreferenceKey(access));
    CFRef<CFPropertyListRef> value(CFPreferencesCopyValue(
        key, kCFPreferencesAnyApplication, kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return "<none>";
    char text[256] = {};
    CFStringGetCString(static_cast<CFStringRef>(value.get()), text, sizeof text,
                       kCFStringEncodingUTF8);
    return text;
}

class ChoiceValueTest : public PreferenceStoreTest, public ChoiceScene
{
protected:
    void SetUp() override
    {
        PreferenceStoreTest::SetUp();
        static ControlAccessInfo *const records[] = {&listAccess, &checkAccess, &radioAccess,
                                                     nullptr};
        SetPreferenceUserOfRecords(records, kCFPreferencesCurrentUser);
    }
    SInt32 UIValue(CBaseControl *c) const { return *static_cast<SInt32 *>(c->GetUIDataBlk()); }
};

// Preference texts are read as atoi reads them: leading digits, anything else 0.
TEST_F(ChoiceValueTest, PreferenceTextIsReadAsAtoiReadsIt)
{
    struct Case
    {
        const char *stored;
        int expected;
    };
    const Case cases[] = {{"abc", 0}, {"12ab", 12}, {"-1", -1}, {"3", 3},
                          {"", 0},    {" 7", 7},    {"+4x", 4}, {"0012", 12}};
    for (const Kind *kind : {&ListKind(), &CheckKind(), &RadioKind()}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(kind->name) + " from \"" + c.stored + "\"");
            ChoiceScene scene;
            CBaseControl *control = scene.panel.Add(kind->make());
            scene.panel.Bind(scene.window.window);
            StorePreference(kind->access, c.stored);
            scene.panel.GetValueFromPreference();
            EXPECT_EQ(control->GetValueFromControl(), c.expected);
        }
    }
}

TEST_F(ChoiceValueTest, MissingPreferenceGivesTheDefault)
{
    CBaseControl *list = panel.Add(ListKind().make());
    CBaseControl *check = panel.Add(CheckKind().make());
    BindAndLoad();
    EXPECT_EQ(list->GetValueFromControl(), 2);
    EXPECT_EQ(check->GetValueFromControl(), 1);
    EXPECT_EQ(window.Find<QComboBox>("jobList")->currentIndex(), 1);
    EXPECT_TRUE(window.Find<QCheckBox>("firstCheck")->isChecked());
}

// Values are written as "%d": -1 becomes the two characters "-1" in both stores.
TEST_F(ChoiceValueTest, ValuesAreWrittenAsDecimalText)
{
    struct Case
    {
        const char *stored;
        const char *written;
    };
    const Case cases[] = {{"-1", "-1"}, {"12ab", "12"}, {"abc", "0"}, {"2", "2"}};
    for (const Kind *kind : {&ListKind(), &CheckKind(), &RadioKind()}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(kind->name) + " loaded from \"" + c.stored + "\"");
            ChoiceScene scene;
            CBaseControl *control = scene.panel.Add(kind->make());
            scene.panel.Bind(scene.window.window);
            StorePreference(kind->access, c.stored);
            scene.panel.GetValueFromPreference();
            // Forget the stored text so that what is found next was written by the control.
            StorePreference(kind->access, nullptr);
            ASSERT_EQ(StoredPreference(kind->access), "<none>");

            scene.panel.SetValueToPreference();
            scene.panel.SetValueToTicket(scene.session.ticket().ref(), false);

            EXPECT_EQ(StoredPreference(kind->access), c.written);
            const std::string *ticket =
                scene.session.ticket().value(TextOf(kind->access->ticketKey));
            ASSERT_NE(ticket, nullptr);
            EXPECT_EQ(*ticket, c.written);
            unsigned char text[256];
            memset(text, 'x', sizeof text);
            ASSERT_TRUE(control->ConvertToTickectData(text));
            EXPECT_EQ(std::string(reinterpret_cast<char *>(text)), c.written);
        }
    }
}

TEST_F(ChoiceValueTest, ClickRecordsTheValueAndCommitMovesIt)
{
    CBaseControl *list = panel.Add(ListKind().make());
    CBaseControl *check = panel.Add(CheckKind().make());
    BindAndLoad();
    auto *combo = window.Find<QComboBox>("jobList");
    auto *box = window.Find<QCheckBox>("firstCheck");

    ChooseListItem(combo, 3);
    ClickButton(box);
    EXPECT_EQ(UIValue(list), 3);
    EXPECT_EQ(UIValue(check), 0);
    // Nothing is committed before the dialog asks for it.
    EXPECT_EQ(list->GetValueFromControl(), 2);
    EXPECT_EQ(check->GetValueFromControl(), 1);

    panel.SetValueFromUIToControl();
    EXPECT_EQ(list->GetValueFromControl(), 3);
    EXPECT_EQ(check->GetValueFromControl(), 0);

    panel.SetValueToTicket(session.ticket().ref(), false);
    EXPECT_EQ(*session.ticket().value("com.veltra.kzu.printsettings.JobListKey"), "3");
    EXPECT_EQ(*session.ticket().value("com.veltra.kzu.printsettings.CheckKey"), "0");
}

TEST_F(ChoiceValueTest, ExternalValueIsShownWithoutTouchingTheBlocks)
{
    CBaseControl *list = panel.Add(ListKind().make());
    CBaseControl *check = panel.Add(CheckKind().make());
    BindAndLoad();
    auto *combo = window.Find<QComboBox>("jobList");
    auto *box = window.Find<QCheckBox>("firstCheck");
    const SInt32 listUIValue = UIValue(list);
    const SInt32 checkUIValue = UIValue(check);

    SInt32 three = 3;
    EXPECT_TRUE(list->SetExternalValueToUI(&three, 4));
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_FALSE(list->SetExternalValueToUI(nullptr, 4));

    SInt32 off = 0;
    EXPECT_TRUE(check->SetExternalValueToUI(&off, 4));
    EXPECT_FALSE(box->isChecked());
    // An inactive check box still shows the value but answers false.
    check->Disable();
    SInt32 on = 1;
    EXPECT_FALSE(check->SetExternalValueToUI(&on, 4));
    EXPECT_TRUE(box->isChecked());

    EXPECT_EQ(UIValue(list), listUIValue);
    EXPECT_EQ(UIValue(check), checkUIValue);
    EXPECT_EQ(list->GetValueFromControl(), 2);
    EXPECT_EQ(check->GetValueFromControl(), 1);

    // The default shown by the panel is the record's.
    panel.SetDefaultValueToUI();
    EXPECT_EQ(combo->currentIndex(), 1);
}

TEST_F(ChoiceValueTest, ConversionsRefuseMissingBlocksAndBuffers)
{
    for (const Kind *kind : {&ListKind(), &CheckKind(), &RadioKind()}) {
        SCOPED_TRACE(kind->name);
        std::unique_ptr<CBaseControl> unbound = kind->make();
        char text[256] = "5";
        unsigned char ticket[256] = {};
        EXPECT_FALSE(unbound->ConvertFromPreferenceString(text));
        EXPECT_FALSE(unbound->ConvertToPreferenceString(text));
        EXPECT_FALSE(unbound->ConvertToTickectData(ticket));
        EXPECT_FALSE(unbound->SetControlValueToUI());
        EXPECT_EQ(unbound->GetValueFromUI(), nullptr);
        EXPECT_EQ(unbound->GetValueFromControl(), 0);
        EXPECT_EQ(unbound->GetDataBlkSize(), 4u);

        std::unique_ptr<CBaseControl> bound = kind->make();
        ASSERT_TRUE(bound->InitializeCtrl(window.window, nullptr, nullptr, nullptr));
        EXPECT_FALSE(bound->ConvertFromPreferenceString(nullptr));
        EXPECT_FALSE(bound->ConvertToPreferenceString(nullptr));
        EXPECT_FALSE(bound->ConvertToTickectData(nullptr));
        EXPECT_EQ(bound->GetValueFromControl(), 0);
        EXPECT_EQ(*static_cast<SInt32 *>(bound->GetUIDataBlk()), 0);
    }
}

TEST_F(ChoiceValueTest, DefaultAndInitialBlocksComeFromTheRecord)
{
    for (const Kind *kind : {&ListKind(), &CheckKind(), &RadioKind()}) {
        SCOPED_TRACE(kind->name);
        std::unique_ptr<CBaseControl> control = kind->make();
        ASSERT_NE(control->GetIniDataBlk(), nullptr);
        EXPECT_EQ(*static_cast<SInt32 *>(control->GetIniDataBlk()), -1);
        EXPECT_EQ(control->GetIniDataSize(), 4u);
        EXPECT_EQ(control->GetDefaultDataSize(), 4u);
    }
    EXPECT_EQ(*static_cast<SInt32 *>(ListKind().make()->GetDefaultDataBlk()), 2);
    EXPECT_EQ(*static_cast<SInt32 *>(CheckKind().make()->GetDefaultDataBlk()), 1);
    CListControl noRecord(&jobListID, nullptr, nullptr, nullptr);
    EXPECT_EQ(noRecord.GetDefaultDataBlk(), nullptr);
    EXPECT_EQ(noRecord.GetIniDataBlk(), nullptr);
}

} // namespace

// The table built from constraints of each form, and the conflict query over it.
#include "ConstraintFixtures.h"

#include "CBasePrintPanel.h"
#include "CPopupWindowInPanel.h"
#include "UIConstraintTable.h"

#include <gtest/gtest.h>

namespace {

// Finisher lists Off first, Stapler lists On first: neither first choice ever qualifies.
const char kOptions[] = R"(*OpenUI *InputSlot/Paper Source: PickOne
*DefaultInputSlot: Auto
*InputSlot Auto/Auto: ""
*InputSlot Tray1/Tray 1: ""
*InputSlot Manual/Manual Feed: ""
*CloseUI: *InputSlot
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: Letter
*PageSize Letter/Letter: ""
*PageSize A4/A4: ""
*CloseUI: *PageSize
*OpenUI *Finisher/Finisher: PickOne
*DefaultFinisher: Off
*Finisher Off/Off: ""
*Finisher On/On: ""
*Finisher Auto/Auto: ""
*CloseUI: *Finisher
*OpenUI *Stapler/Stapler: PickOne
*DefaultStapler: On
*Stapler On/On: ""
*Stapler Staple1/One Staple: ""
*Stapler None/None: ""
*CloseUI: *Stapler
*OpenUI *Duplex/Two-Sided: PickOne
*DefaultDuplex: None
*Duplex None/Off: ""
*Duplex DuplexNoTumble/Long Edge: ""
*Duplex DuplexTumble/Short Edge: ""
*CloseUI: *Duplex
)";

struct QueryCase
{
    const char *constraint; // the value of one *UIConstraints line
    const char *markOption; // marked with libcups before the query
    const char *markChoice;
    const char *option; // the query
    const char *choice;
    bool conflicted;
    size_t entries;
};

// Names the case in test output and in the test's name: the constraint, the mark, the query.
void PrintTo(const QueryCase &c, std::ostream *out)
{
    *out << c.constraint << " | " << c.markOption << "=" << c.markChoice << " | " << c.option << "="
         << c.choice;
}

const QueryCase kQueryCases[] = {
    // Both choices given: one entry, in the direction written.
    {"*InputSlot Manual *PageSize A4", "InputSlot", "Manual", "PageSize", "A4", true, 1},
    {"*InputSlot Manual *PageSize A4", "InputSlot", "Tray1", "PageSize", "A4", false, 1},
    {"*InputSlot Manual *PageSize A4", "InputSlot", "Manual", "PageSize", "Letter", false, 1},
    {"*InputSlot Manual *PageSize A4", "PageSize", "A4", "InputSlot", "Manual", false, 1},
    // Choice2 empty: every qualifying choice of Option2, under its stored keyword.
    {"*InputSlot Manual *Finisher", "InputSlot", "Manual", "Finisher", "On", true, 2},
    {"*InputSlot Manual *Finisher", "InputSlot", "Manual", "Finisher", "Auto", true, 2},
    {"*InputSlot Manual *Finisher", "InputSlot", "Manual", "Finisher", "Off", false, 2},
    {"*InputSlot Manual *finisher", "InputSlot", "Manual", "Finisher", "On", true, 2},
    {"*InputSlot Manual *Stapler", "InputSlot", "Manual", "Stapler", "On", false, 1},
    {"*InputSlot Manual *Stapler", "InputSlot", "Manual", "Stapler", "Staple1", true, 1},
    {"*InputSlot Manual *Stapler", "InputSlot", "Manual", "Stapler", "None", false, 1},
    // Choice1 empty: every qualifying choice of Option1 is a first side.
    {"*Finisher *PageSize A4", "Finisher", "Auto", "PageSize", "A4", true, 2},
    {"*Finisher *PageSize A4", "Finisher", "Off", "PageSize", "A4", false, 2},
    // Both empty: every qualifying pair.
    {"*Finisher *Duplex", "Finisher", "On", "Duplex", "DuplexTumble", true, 4},
    {"*Finisher *Duplex", "Finisher", "On", "Duplex", "None", false, 4},
    {"*Finisher *Duplex", "Finisher", "Off", "Duplex", "DuplexNoTumble", false, 4},
    // Options are found without regard to case; keys are compared exactly.
    {"*inputslot manual *PageSize A4", "InputSlot", "Manual", "PageSize", "A4", true, 1},
    {"*inputslot manual *PageSize A4", "InputSlot", "Manual", "pagesize", "a4", false, 1},
    // Options or choices the description lacks add nothing.
    {"*Bogus On *PageSize A4", "InputSlot", "Manual", "PageSize", "A4", false, 0},
    {"*InputSlot Envelope *PageSize A4", "InputSlot", "Manual", "PageSize", "A4", false, 0},
    {"*InputSlot Manual *Bogus", "InputSlot", "Manual", "Bogus", "On", false, 0},
};

class ConflictQuery : public testing::TestWithParam<QueryCase>
{
};

TEST_P(ConflictQuery, AnswersWhetherTheChoiceConflictsWithTheMarkedOnes)
{
    const QueryCase &c = GetParam();
    veltra::PPDFile ppd =
        ctest::OpenPPDText(std::string(kOptions) + "*UIConstraints: " + c.constraint + "\n");
    ASSERT_TRUE(ppd);
    ASSERT_EQ(ppd->num_consts, 1);
    auto table = CreateUIConstraintTable(ppd.get());
    ASSERT_TRUE(table);
    ppdMarkDefaults(ppd.get());
    ppdMarkOption(ppd.get(), c.markOption, c.markChoice);
    EXPECT_EQ(IsPPDChoiceConflicted(ppd.get(), table.get(), c.option, c.choice), c.conflicted);
    EXPECT_EQ(table->EntryCount(), c.entries);
}

INSTANTIATE_TEST_SUITE_P(EachForm, ConflictQuery, testing::ValuesIn(kQueryCases));

TEST(ConstraintTable, HashesKeysWithSignedBytes)
{
    EXPECT_EQ(orvHash()(""), 0u);
    EXPECT_EQ(orvHash()("abc"), 3014u);
    EXPECT_EQ(orvHash()("a\xff"), 5u * 97 - 1);
    EXPECT_EQ(orvHash()(std::string(20, 'z')) & 0xffffffffu, orvHash()(std::string(20, 'z')));
}

TEST(ConstraintTable, BothDirectionsWhenThePPDListsBoth)
{
    veltra::PPDFile ppd = ctest::OpenPPDText(std::string(kOptions) +
                                             "*UIConstraints: *InputSlot Manual *PageSize A4\n"
                                             "*UIConstraints: *PageSize A4 *InputSlot Manual\n");
    ASSERT_TRUE(ppd);
    auto table = CreateUIConstraintTable(ppd.get());
    ppdMarkDefaults(ppd.get());
    ppdMarkOption(ppd.get(), "PageSize", "A4");
    EXPECT_TRUE(IsPPDChoiceConflicted(ppd.get(), table.get(), "InputSlot", "Manual"));
    EXPECT_FALSE(IsPPDChoiceConflicted(ppd.get(), table.get(), "PageSize", "A4"));
    EXPECT_GE(table->BucketCount(), table->EntryCount());
    EXPECT_GT(table->MemoryBytes(), sizeof(UIConstraintTable));
}

TEST(ConstraintTable, NullArgumentsAnswerNoConflict)
{
    veltra::PPDFile ppd = ctest::OpenPPDText(kOptions);
    ASSERT_TRUE(ppd);
    UIConstraintTable table;
    EXPECT_FALSE(BuildUIConstraintTable(nullptr, &table));
    EXPECT_FALSE(BuildUIConstraintTable(ppd.get(), nullptr));
    EXPECT_EQ(CreateUIConstraintTable(nullptr), nullptr);
    EXPECT_FALSE(IsPPDChoiceConflicted(ppd.get(), nullptr, "PageSize", "A4"));
    EXPECT_FALSE(IsPPDChoiceConflicted(ppd.get(), &table, nullptr, "A4"));
    xConst2Hash_O1C1O2C2(ppd.get(), &table, 5); // no such constraint
    EXPECT_EQ(table.EntryCount(), 0u);
}

TEST(ConstraintTable, PanelHandsItsTableToItsWindows)
{
    UIConstraintTable table;
    CBasePrintPanel panel;
    CPopupWindowInPanel window(CFSTR("Missing"), CFSTR("Window"), nullptr);
    panel.RunTimeAddNewWindow(&window);
    EXPECT_EQ(panel.GetxppdTable(), nullptr);
    panel.SetxppdPtr(&table);
    EXPECT_EQ(panel.GetxppdTable(), &table);
    EXPECT_EQ(window.GetxppdTable(), &table);
}

} // namespace

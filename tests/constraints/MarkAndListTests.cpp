// Marking choices with the page-size and paper-source rules, and the choice lists of pop-ups.
#include "ConstraintFixtures.h"

#include "PPDMarkOption.h"
#include "PPDUIList.h"

#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

const char kOptions[] = R"(*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: Letter
*PageSize Letter/Letter: ""
*PageSize A4/A4: ""
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*DefaultPageRegion: Letter
*PageRegion Letter/Letter: ""
*PageRegion A4/A4: ""
*CloseUI: *PageRegion
*DefaultImageableArea: Letter
*ImageableArea Letter/Letter: "0 0 612 792"
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: Letter
*PaperDimension Letter/Letter: "612 792"
*PaperDimension A4/A4: "595 842"
*CustomPageSize True: "pop pop pop pop pop"
*ParamCustomPageSize Width: 1 points 72 1000
*ParamCustomPageSize Height: 2 points 72 1000
*ParamCustomPageSize WidthOffset: 3 points 0 0
*ParamCustomPageSize HeightOffset: 4 points 0 0
*ParamCustomPageSize Orientation: 5 int 0 0
*MaxMediaWidth: "1000"
*MaxMediaHeight: "1000"
*OpenUI *InputSlot/Paper Source: PickOne
*DefaultInputSlot: Tray1
*InputSlot Tray1/Tray 1: ""
*InputSlot Manual/Manual Feed: ""
*CloseUI: *InputSlot
*OpenUI *ManualFeed/Manual Feed: Boolean
*DefaultManualFeed: False
*ManualFeed True/On: ""
*ManualFeed False/Off: ""
*CloseUI: *ManualFeed
*OpenUI *Punch/Punch: PickMany
*DefaultPunch: Left
*Punch Left/Left: ""
*Punch Right/Right: ""
*CloseUI: *Punch
*UIConstraints: *InputSlot Manual *PageSize A4
*UIConstraints: *InputSlot Manual *PageSize Folio
*UIConstraints: *PageSize A4 *Punch Right
)";

class MarkOption : public testing::Test
{
protected:
    void SetUp() override
    {
        ppd = ctest::OpenPPDText(kOptions);
        ASSERT_TRUE(ppd);
        table = CreateUIConstraintTable(ppd.get());
        ppdMarkDefaults(ppd.get());
    }
    // The marked choices of option, in order, as libcups' flags hold them.
    std::vector<std::string> Marked(const char *option) const
    {
        std::vector<std::string> names;
        const ppd_option_t *o = ppdFindOption(ppd.get(), option);
        for (int c = 0; o && c < o->num_choices; ++c) {
            if (o->choices[c].marked)
                names.push_back(o->choices[c].choice);
        }
        return names;
    }
    std::vector<std::string> MarkedSizes() const
    {
        std::vector<std::string> names;
        for (int s = 0; s < ppd->num_sizes; ++s) {
            if (ppd->sizes[s].marked)
                names.push_back(ppd->sizes[s].name);
        }
        return names;
    }
    bool Mark(const char *option, const char *choice)
    {
        return PPDMarkOption(ppd.get(), table.get(), option, choice);
    }

    veltra::PPDFile ppd;
    std::unique_ptr<UIConstraintTable> table;
};

TEST_F(MarkOption, ConflictFollowsTheMarkedPaperSource)
{
    EXPECT_FALSE(Mark("PageSize", "A4"));
    EXPECT_FALSE(Mark("InputSlot", "Manual")); // the table holds only the direction written
    EXPECT_EQ(Marked("InputSlot"), Names{"Manual"});
    EXPECT_STREQ(ppdFindMarkedChoice(ppd.get(), "InputSlot")->choice, "Manual");
    EXPECT_TRUE(IsPPDChoiceConflicted(ppd.get(), table.get(), "PageSize", "A4"));
    EXPECT_FALSE(Mark("pagesize", "a4")); // keys are exact: "pagesize:a4" has no entry
    EXPECT_EQ(Marked("PageSize"), Names{"A4"});
    EXPECT_TRUE(Mark("PageSize", "A4"));
    EXPECT_FALSE(Mark("InputSlot", "Tray1"));
    EXPECT_FALSE(IsPPDChoiceConflicted(ppd.get(), table.get(), "PageSize", "A4"));
}

TEST_F(MarkOption, ChoicesThatExcludeEachOtherAreClearedAndCustomSizesMarkCustom)
{
    // Paper source and manual feed clear each other.
    Mark("ManualFeed", "True");
    EXPECT_EQ(Marked("InputSlot"), Names{});
    Mark("InputSlot", "Manual");
    EXPECT_EQ(Marked("ManualFeed"), Names{});
    EXPECT_EQ(ppdFindMarkedChoice(ppd.get(), "ManualFeed"), nullptr);
    Mark("ManualFeed", "False");
    EXPECT_EQ(Marked("ManualFeed"), Names{"False"});
    EXPECT_EQ(ppdFindMarkedChoice(ppd.get(), "InputSlot"), nullptr);

    // Page size and page region clear each other; either marks the size.
    Mark("PageRegion", "A4");
    EXPECT_EQ(Marked("PageRegion"), Names{"A4"});
    EXPECT_EQ(Marked("PageSize"), Names{});
    EXPECT_EQ(MarkedSizes(), Names{"A4"});
    Mark("PageSize", "Letter");
    EXPECT_EQ(Marked("PageRegion"), Names{});
    EXPECT_EQ(MarkedSizes(), Names{"Letter"});

    Mark("PageSize", "Custom.612x792");
    EXPECT_EQ(Marked("PageSize"), Names{"Custom"});
    EXPECT_EQ(MarkedSizes(), Names{"Custom"});
    const ppd_size_t *custom = ppdPageSize(ppd.get(), "Custom");
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->width, 612);
    EXPECT_EQ(custom->length, 792);

    // A pick-many option keeps its other choices.
    Mark("Punch", "Right");
    EXPECT_EQ(Marked("Punch"), (Names{"Left", "Right"}));
}

TEST_F(MarkOption, ChoiceTheOptionLacksMarksNothing)
{
    Mark("InputSlot", "Manual");
    EXPECT_TRUE(Mark("PageSize", "Folio")); // answered from the table alone
    EXPECT_EQ(Marked("PageSize"), Names{"Letter"});
    EXPECT_FALSE(Mark("Bogus", "On"));
    EXPECT_FALSE(PPDMarkOption(nullptr, table.get(), "PageSize", "A4"));
    EXPECT_EQ(Marked("PageSize"), Names{"Letter"});
}

// The four strings of each entry of a list, joined with "|".
std::vector<std::string> Entries(CFArrayRef list)
{
    std::vector<std::string> rows;
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
        auto entry = static_cast<CFArrayRef>(CFArrayGetValueAtIndex(list, i));
        std::string row;
        for (CFIndex f = 0; f < CFArrayGetCount(entry); ++f) {
            char text[256] = {};
            CFStringGetCString(static_cast<CFStringRef>(CFArrayGetValueAtIndex(entry, f)), text,
                               sizeof text, kCFStringEncodingUTF8);
            row += (f ? "|" : "") + std::string(text);
        }
        rows.push_back(row);
    }
    return rows;
}

TEST_F(MarkOption, ListGivesEveryChoiceWithItsConflictFlag)
{
    CFRef<CFMutableArrayRef> list(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFMutableArrayRef out = list.get();
    short count = 3;
    Mark("PageSize", "A4");
    EXPECT_EQ(GetUIListFromPPD(ppd.get(), table.get(), "punch", &out, &count), noErr);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(Entries(list),
              (Names{"Punch|Left|Left|ConflictFalse", "Punch|Right|Right|ConflictTrue"}));
    GetUIListFromPPD(ppd.get(), table.get(), "Bogus", &out, &count);
    GetUIListFromPPD(ppd.get(), nullptr, "InputSlot", &out, nullptr);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(CFArrayGetCount(list), 4);
    EXPECT_TRUE(InitializeValueFromPPD(ppd.get(), table.get(), &out, "ManualFeed"));
    EXPECT_TRUE(InitializeValueFromPPD(ppd.get(), table.get(), &out, "Bogus"));
    EXPECT_EQ(Entries(list).back(), "ManualFeed|False|Off|ConflictFalse");
    CFMutableArrayRef none = nullptr;
    EXPECT_EQ(GetUIListFromPPD(ppd.get(), table.get(), "Punch", &none, &count), noErr);
    EXPECT_EQ(count, 5);
}

TEST(ChoiceList, TitlesInTheDescriptionsEncoding)
{
    veltra::PPDFile ppd = ctest::OpenPPDText("*OpenUI *Tray/Bac: PickOne\n*DefaultTray: Haut\n"
                                             "*Tray Haut/Bac sup\xe9rieur: \"\"\n"
                                             "*CloseUI: *Tray\n");
    ASSERT_TRUE(ppd);
    CFRef<CFMutableArrayRef> list(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFMutableArrayRef out = list.get();
    short count = 0;
    GetUIListFromPPD(ppd.get(), nullptr, "Tray", &out, &count);
    EXPECT_EQ(Entries(list), Names{"Tray|Haut|Bac sup\xc3\xa9rieur|ConflictFalse"});
}

} // namespace

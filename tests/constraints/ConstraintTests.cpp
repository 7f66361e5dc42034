// The UI-constraint table from each form of constraint and the conflict query over it, marking
// choices, the choice lists of pop-ups, real printers' descriptions, and veltra-ppdtool.
#include "../ppd/PPDFixtures.h"

#include "CBasePrintPanel.h"
#include "CPopupWindowInPanel.h"
#include "PPDMarkOption.h"
#include "PPDUIList.h"
#include "UIConstraintTable.h"

#include <QProcess>

#include <cctype>
#include <set>
#include <strings.h>

namespace {

using namespace ppdtest;
using Names = std::vector<std::string>;

// A description declaring ISO Latin-1 and a model, around body.
std::string PPDText(const std::string &body)
{
    return MinimalPPD("*LanguageEncoding: ISOLatin1\n*ModelName: \"Veltra Test\"\n" + body);
}

veltra::PPDFile OpenPPDText(const std::string &body)
{
    return OpenTestedPPD(WritePPD(PPDText(body)));
}

// An option of the given default and type; a choice is "Name/Title" or "Name" (its own title).
std::string UI(const std::string &keyword, const char *defaultChoice,
               std::initializer_list<const char *> choices, const char *type = "PickOne")
{
    std::string text = "*OpenUI *" + keyword + ": " + type + "\n*Default" + keyword + ": ";
    text += std::string(defaultChoice) + "\n";
    for (const char *choice : choices)
        text += "*" + keyword + " " + choice +
                (strchr(choice, '/') ? "" : std::string("/") + choice) + ": \"\"\n";
    return text + "*CloseUI: *" + keyword + "\n";
}

// Finisher lists Off first, Stapler lists On first: neither first choice ever qualifies.
const std::string kOptions = UI("InputSlot", "Auto", {"Auto", "Tray1", "Manual"}) +
                             UI("PageSize", "Letter", {"Letter", "A4"}) +
                             UI("Finisher", "Off", {"Off", "On", "Auto"}) +
                             UI("Stapler", "On", {"On", "Staple1", "None"}) +
                             UI("Duplex", "None", {"None", "DuplexNoTumble", "DuplexTumble"});

// Both choices given: one entry, in the direction written. Choice2 (Choice1) empty: every
// qualifying choice of Option2 (Option1); both empty: every qualifying pair. Options are found
// without regard to case, keys compared exactly; what the description lacks adds nothing.
TEST(ConstraintTable, AnswersWhetherAChoiceConflictsWithTheMarkedOnesForEachForm)
{
    // The constraint, the choice marked with libcups, the query, its answer, the entry count.
    const std::tuple<const char *, const char *, const char *, bool, size_t> cases[] = {
        {"*InputSlot Manual *PageSize A4", "InputSlot=Manual", "PageSize=A4", true, 1},
        {"*InputSlot Manual *PageSize A4", "InputSlot=Tray1", "PageSize=A4", false, 1},
        {"*InputSlot Manual *PageSize A4", "InputSlot=Manual", "PageSize=Letter", false, 1},
        {"*InputSlot Manual *PageSize A4", "PageSize=A4", "InputSlot=Manual", false, 1},
        {"*InputSlot Manual *Finisher", "InputSlot=Manual", "Finisher=On", true, 2},
        {"*InputSlot Manual *Finisher", "InputSlot=Manual", "Finisher=Auto", true, 2},
        {"*InputSlot Manual *Finisher", "InputSlot=Manual", "Finisher=Off", false, 2},
        {"*InputSlot Manual *finisher", "InputSlot=Manual", "Finisher=On", true, 2},
        {"*InputSlot Manual *Stapler", "InputSlot=Manual", "Stapler=On", false, 1},
        {"*InputSlot Manual *Stapler", "InputSlot=Manual", "Stapler=Staple1", true, 1},
        {"*InputSlot Manual *Stapler", "InputSlot=Manual", "Stapler=None", false, 1},
        {"*Finisher *PageSize A4", "Finisher=Auto", "PageSize=A4", true, 2},
        {"*Finisher *PageSize A4", "Finisher=Off", "PageSize=A4", false, 2},
        {"*Finisher *Duplex", "Finisher=On", "Duplex=DuplexTumble", true, 4},
        {"*Finisher *Duplex", "Finisher=On", "Duplex=None", false, 4},
        {"*Finisher *Duplex", "Finisher=Off", "Duplex=DuplexNoTumble", false, 4},
        {"*inputslot manual *PageSize A4", "InputSlot=Manual", "PageSize=A4", true, 1},
        {"*inputslot manual *PageSize A4", "InputSlot=Manual", "pagesize=a4", false, 1},
        {"*Bogus On *PageSize A4", "InputSlot=Manual", "PageSize=A4", false, 0},
        {"*InputSlot Envelope *PageSize A4", "InputSlot=Manual", "PageSize=A4", false, 0},
        {"*InputSlot Manual *Bogus", "InputSlot=Manual", "Bogus=On", false, 0}};
    for (const auto &[constraint, mark, query, conflicted, entries] : cases) {
        SCOPED_TRACE(std::string(constraint) + " | " + mark + " | " + query);
        veltra::PPDFile ppd = OpenPPDText(kOptions + "*UIConstraints: " + constraint + "\n");
        ASSERT_TRUE(ppd);
        ASSERT_EQ(ppd->num_consts, 1);
        auto table = CreateUIConstraintTable(ppd.get());
        ppdMarkDefaults(ppd.get());
        const QStringList m = QString(mark).split('='), q = QString(query).split('=');
        ppdMarkOption(ppd.get(), qPrintable(m[0]), qPrintable(m[1]));
        EXPECT_EQ(IsPPDChoiceConflicted(ppd.get(), table.get(), qPrintable(q[0]), qPrintable(q[1])),
                  conflicted);
        EXPECT_EQ(table->EntryCount(), entries);
    }
}

TEST(ConstraintTable, HashesSignedBytesRefusesNullArgumentsAndStaysEmptyWithoutConstraints)
{
    EXPECT_EQ(orvHash()(""), 0u);
    EXPECT_EQ(orvHash()("abc"), 3014u);
    EXPECT_EQ(orvHash()("a\xff"), 5u * 97 - 1);
    EXPECT_EQ(orvHash()(std::string(20, 'z')) & 0xffffffffu, orvHash()(std::string(20, 'z')));

    veltra::PPDFile ppd = OpenPPDText(kOptions);
    ASSERT_TRUE(ppd);
    UIConstraintTable empty;
    EXPECT_FALSE(BuildUIConstraintTable(nullptr, &empty));
    EXPECT_FALSE(BuildUIConstraintTable(ppd.get(), nullptr));
    EXPECT_EQ(CreateUIConstraintTable(nullptr), nullptr);
    EXPECT_FALSE(IsPPDChoiceConflicted(ppd.get(), nullptr, "PageSize", "A4"));
    EXPECT_FALSE(IsPPDChoiceConflicted(ppd.get(), &empty, nullptr, "A4"));
    xConst2Hash_O1C1O2C2(ppd.get(), &empty, 5); // no such constraint
    EXPECT_EQ(empty.EntryCount(), 0u);
    // A description without constraints leaves the table as empty as a new one.
    ASSERT_EQ(ppd->num_consts, 0);
    auto nothing = CreateUIConstraintTable(ppd.get());
    EXPECT_EQ(nothing->BucketCount(), empty.BucketCount());
    EXPECT_EQ(nothing->MemoryBytes(), empty.MemoryBytes());

    // A panel hands its table to its windows.
    CBasePrintPanel panel;
    CPopupWindowInPanel window(CFSTR("Missing"), CFSTR("Window"), nullptr);
    panel.RunTimeAddNewWindow(&window);
    EXPECT_EQ(panel.GetxppdTable(), nullptr);
    panel.SetxppdPtr(&empty);
    EXPECT_EQ(panel.GetxppdTable(), &empty);
    EXPECT_EQ(window.GetxppdTable(), &empty);
}

// Page sizes with a custom size, page regions, paper sources, manual feed and a pick-many option.
const std::string kMarkOptions =
    UI("PageSize", "Letter", {"Letter", "A4"}) + UI("PageRegion", "Letter", {"Letter", "A4"}) +
    "*DefaultImageableArea: Letter\n*ImageableArea Letter/Letter: \"0 0 612 792\"\n"
    "*ImageableArea A4/A4: \"0 0 595 842\"\n*DefaultPaperDimension: Letter\n"
    "*PaperDimension Letter/Letter: \"612 792\"\n*PaperDimension A4/A4: \"595 842\"\n"
    "*ParamCustomPageSize Width: 1 points 72 1000\n*ParamCustomPageSize Height: 2 points 72 1000\n"
    "*ParamCustomPageSize WidthOffset: 3 points 0 0\n*MaxMediaHeight: \"1000\"\n"
    "*ParamCustomPageSize HeightOffset: 4 points 0 0\n*MaxMediaWidth: \"1000\"\n"
    "*ParamCustomPageSize Orientation: 5 int 0 0\n*CustomPageSize True: \"pop pop pop pop pop\"\n" +
    UI("InputSlot", "Tray1", {"Tray1/Tray 1", "Manual/Manual Feed"}) +
    UI("ManualFeed", "False", {"True/On", "False/Off"}, "Boolean") +
    UI("Punch", "Left", {"Left", "Right"}, "PickMany") +
    "*UIConstraints: *InputSlot Manual *PageSize A4\n*UIConstraints: *PageSize A4 *Punch Right\n"
    "*UIConstraints: *InputSlot Manual *PageSize Folio\n";

class MarkOption : public testing::Test
{
protected:
    void SetUp() override
    {
        ppd = OpenPPDText(kMarkOptions);
        ASSERT_TRUE(ppd);
        table = CreateUIConstraintTable(ppd.get());
        ppdMarkDefaults(ppd.get());
    }
    // The marked choices of option (or with null, the marked page sizes), in order.
    Names Marked(const char *option) const
    {
        Names names;
        const ppd_option_t *o = ppdFindOption(ppd.get(), option ? option : "");
        for (int c = 0; o && c < o->num_choices; ++c)
            if (o->choices[c].marked)
                names.push_back(o->choices[c].choice);
        for (int s = 0; !option && s < ppd->num_sizes; ++s)
            if (ppd->sizes[s].marked)
                names.push_back(ppd->sizes[s].name);
        return names;
    }
    bool Mark(const char *option, const char *choice)
    {
        return PPDMarkOption(ppd.get(), table.get(), option, choice);
    }
    // The four strings of each entry of the list, joined with "|".
    static Names Entries(CFArrayRef list)
    {
        Names rows;
        for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
            auto entry = static_cast<CFArrayRef>(CFArrayGetValueAtIndex(list, i));
            QStringList fields;
            for (CFIndex f = 0; f < CFArrayGetCount(entry); ++f)
                fields << QStringFromCF(static_cast<CFStringRef>(CFArrayGetValueAtIndex(entry, f)));
            rows.push_back(fields.join('|').toStdString());
        }
        return rows;
    }

    veltra::PPDFile ppd;
    std::unique_ptr<UIConstraintTable> table;
};

TEST_F(MarkOption, ConflictFollowsTheMarkedPaperSourceAndChoicesTheOptionLacksMarkNothing)
{
    EXPECT_FALSE(Mark("PageSize", "A4"));
    EXPECT_FALSE(Mark("InputSlot", "Manual")); // the table holds only the direction written
    EXPECT_EQ(Marked("InputSlot"), Names{"Manual"});
    EXPECT_TRUE(IsPPDChoiceConflicted(ppd.get(), table.get(), "PageSize", "A4"));
    EXPECT_FALSE(Mark("pagesize", "a4")); // keys are exact: "pagesize:a4" has no entry
    EXPECT_EQ(Marked("PageSize"), Names{"A4"});
    EXPECT_TRUE(Mark("PageSize", "A4"));
    EXPECT_TRUE(Mark("PageSize", "Folio")); // answered from the table alone
    EXPECT_FALSE(Mark("InputSlot", "Tray1"));
    EXPECT_FALSE(IsPPDChoiceConflicted(ppd.get(), table.get(), "PageSize", "A4"));
    EXPECT_FALSE(Mark("Bogus", "On"));
    EXPECT_FALSE(PPDMarkOption(nullptr, table.get(), "PageSize", "Letter"));
    EXPECT_EQ(Marked("PageSize"), Names{"A4"});
}

TEST_F(MarkOption, ChoicesThatExcludeEachOtherAreClearedAndCustomSizesMarkCustom)
{
    // Paper source and manual feed clear each other; page size and page region clear each other
    // and either marks the size (null: the marked sizes); a pick-many option keeps its others.
    const std::tuple<const char *, const char *, const char *, Names> steps[] = {
        {"ManualFeed", "True", "InputSlot", {}},
        {"InputSlot", "Manual", "ManualFeed", {}},
        {"ManualFeed", "False", "ManualFeed", {"False"}},
        {"ManualFeed", "False", "InputSlot", {}},
        {"PageRegion", "A4", "PageRegion", {"A4"}},
        {"PageRegion", "A4", "PageSize", {}},
        {"PageRegion", "A4", nullptr, {"A4"}},
        {"PageSize", "Letter", "PageRegion", {}},
        {"PageSize", "Letter", nullptr, {"Letter"}},
        {"PageSize", "Custom.612x792", "PageSize", {"Custom"}},
        {"PageSize", "Custom.612x792", nullptr, {"Custom"}},
        {"Punch", "Right", "Punch", {"Left", "Right"}}};
    for (const auto &[option, choice, check, expected] : steps) {
        Mark(option, choice);
        EXPECT_EQ(Marked(check), expected)
            << option << "=" << choice << ": " << (check ? check : "");
    }
    const ppd_size_t *custom = ppdPageSize(ppd.get(), "Custom");
    EXPECT_TRUE(custom && custom->width == 612 && custom->length == 792);
}

TEST_F(MarkOption, ListGivesEveryChoiceWithItsConflictFlagAndTitlesInTheDescriptionsEncoding)
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

    veltra::PPDFile latin1 = OpenPPDText(UI("Tray", "Haut", {"Haut/Bac sup\xe9rieur"}));
    ASSERT_TRUE(latin1);
    CFArrayRemoveAllValues(list);
    GetUIListFromPPD(latin1.get(), nullptr, "Tray", &out, &count);
    EXPECT_EQ(Entries(list), Names{"Tray|Haut|Bac sup\xc3\xa9rieur|ConflictFalse"});
}

bool Qualifies(const ppd_option_t *option, int c)
{
    const char *name = option->choices[c].choice;
    return c > 0 && strcasecmp(name, "None") && strcasecmp(name, "Off") &&
           strcasecmp(name, "False");
}

// The keys "Option:Choice" that some constraint forbids while its first side is marked.
std::set<std::string> ScanConflicts(ppd_file_t *ppd)
{
    std::set<std::string> keys;
    for (int i = 0; i < ppd->num_consts; ++i) {
        const ppd_const_t &k = ppd->consts[i];
        const ppd_option_t *option1 = ppdFindOption(ppd, k.option1);
        bool marked = false;
        for (int c = 0; option1 && c < option1->num_choices && !marked; ++c) {
            if (k.choice1[0] ? !strcasecmp(option1->choices[c].choice, k.choice1)
                             : Qualifies(option1, c))
                marked = option1->choices[c].marked;
        }
        const ppd_option_t *option2 = ppdFindOption(ppd, k.option2);
        if (marked && k.choice2[0])
            keys.insert(std::string(k.option2) + ":" + k.choice2);
        for (int c = 0; marked && !k.choice2[0] && option2 && c < option2->num_choices; ++c) {
            if (Qualifies(option2, c))
                keys.insert(std::string(option2->keyword) + ":" + option2->choices[c].choice);
        }
    }
    return keys;
}

TEST(RealPPDConflicts, TableAgreesWithAScanOfTheConstraintsOfLargeDescriptions)
{
    for (int real = kFirstLargePPD; real < kRealPPDCount; ++real) {
        SCOPED_TRACE(kRealPPDs[real].name);
        veltra::PPDFile ppd = OpenRealPPD(kRealPPDs[real]);
        ASSERT_TRUE(ppd);
        auto table = CreateUIConstraintTable(ppd.get());
        ASSERT_GT(table->EntryCount(), size_t(ppd->num_consts) / 2);
        int conflicted = 0;
        // The defaults, then the choice at position 1, 2 and the last of every option.
        for (int state = -1; state < 3; ++state) {
            if (state < 0)
                ppdMarkDefaults(ppd.get());
            for (ppd_option_t *o = ppdFirstOption(ppd.get()); state >= 0 && o;
                 o = ppdNextOption(ppd.get())) {
                for (int c = 0; c < o->num_choices; ++c)
                    o->choices[c].marked =
                        c == std::min(state == 2 ? 999 : state + 1, o->num_choices - 1);
            }
            const std::set<std::string> expected = ScanConflicts(ppd.get());
            for (ppd_option_t *o = ppdFirstOption(ppd.get()); o; o = ppdNextOption(ppd.get())) {
                for (int c = 0; c < o->num_choices; ++c) {
                    const char *choice = o->choices[c].choice;
                    const bool answer =
                        IsPPDChoiceConflicted(ppd.get(), table.get(), o->keyword, choice);
                    EXPECT_EQ(answer, expected.count(std::string(o->keyword) + ":" + choice) == 1)
                        << o->keyword << ":" << choice << " in state " << state;
                    conflicted += answer;
                }
            }
        }
        EXPECT_GT(conflicted, 0);
    }
}

// veltra-ppdtool as an administrator runs it (FILE: a test PPD, GZ: it compressed, BAD: a broken
// one): the output given, whole when it ends a line; the messages hold the one given (null: none).
TEST(PPDTool, AnswersWithItsOutputExitStatusAndMessages)
{
    const QString file = QString::fromStdString(WritePPD(
        PPDText(UI("InputSlot", "Tray1", {"Tray1/Bac sup\xe9rieur", "Manual/Manual Feed"}) +
                UI("PageSize", "Letter", {"Letter", "A4"}) +
                "*UIConstraints: *InputSlot Manual *PageSize A4\n"),
        "tool.ppd"));
    QProcess::execute("gzip", {"-kf", file});
    const QString bad = QString::fromStdString(WritePPD("*OpenUI *PageSize: PickOne\n", "bad.ppd"));
    const std::tuple<const char *, int, const char *, const char *> cases[] = {
        {"list FILE inputslot=manual", 0,
         "InputSlot\tTray1\tBac sup\xc3\xa9rieur\tConflictFalse\n"
         "InputSlot\tManual\tManual Feed\tConflictFalse\n"
         "PageSize\tLetter\tLetter\tConflictFalse\nPageSize\tA4\tA4\tConflictTrue\n",
         nullptr},
        {"conflict FILE PageSize A4 InputSlot=Manual", 1, "ConflictTrue\n", ""},
        {"conflict FILE PageSize Letter InputSlot=Manual PageSize=A4", 0, "ConflictFalse\n",
         "PageSize=A4 conflicts with a marked choice"},
        {"conflict GZ pagesize a4 InputSlot=Manual", 1, "ConflictTrue\n", ""},
        {"conflict FILE PageSize A4", 0, "ConflictFalse\n", ""},
        {"stats FILE", 0, "constraints\t1\nentries\t1\nbuckets\t", ""},
        {"--help", 0, "Usage: veltra-ppdtool list", ""},
        {"list /nonexistent/x.ppd", 3, "", "cannot open PPD /nonexistent/x.ppd"},
        {"stats BAD", 3, "", "on line 1"},
        {"", 2, "", "no command given"},
        {"frobnicate FILE", 2, "", "unknown command"},
        {"conflict FILE PageSize", 2, "", "needs the PPD file"},
        {"list FILE InputSlot", 2, "", "expected OPTION=CHOICE"},
        {"list FILE Duplex=None", 2, "", "no option \"Duplex\""},
        {"conflict FILE PageSize Folio", 2, "", "no choice \"Folio\""}};
    for (const auto &[command, status, out, err] : cases) {
        SCOPED_TRACE(command);
        QStringList args = QString(command).split(' ', Qt::SkipEmptyParts);
        for (QString &arg : args)
            arg = arg == "FILE" ? file : arg == "GZ" ? file + ".gz" : arg == "BAD" ? bad : arg;
        QProcess tool;
        tool.start(QStringLiteral(VELTRA_TEST_BINARY_DIR "/../tools/ppdtool/veltra-ppdtool"), args);
        ASSERT_TRUE(tool.waitForFinished(30000)) << tool.errorString().toStdString();
        EXPECT_EQ(tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1, status);
        const std::string output = tool.readAllStandardOutput().toStdString();
        const std::string messages = tool.readAllStandardError().toStdString();
        const std::string_view want(out);
        EXPECT_EQ(want.ends_with('\n') ? output : output.substr(0, want.size()), want);
        EXPECT_TRUE(err ? messages.find(err) != std::string::npos : messages.empty()) << messages;
    }
}

} // namespace

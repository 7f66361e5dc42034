// On real office printer descriptions, the table agrees with a plain scan of the constraint
// list for every choice of every option, in several marked states.
#include "ConstraintFixtures.h"

#include "UIConstraintTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <strings.h>

namespace {

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
        if (!option1)
            continue;
        bool marked = false;
        for (int c = 0; c < option1->num_choices; ++c) {
            const bool named = k.choice1[0] ? !strcasecmp(option1->choices[c].choice, k.choice1)
                                            : Qualifies(option1, c);
            if (named) {
                marked = marked || option1->choices[c].marked;
                if (k.choice1[0])
                    break;
            }
        }
        if (!marked)
            continue;
        if (k.choice2[0]) {
            keys.insert(std::string(k.option2) + ":" + k.choice2);
            continue;
        }
        if (const ppd_option_t *option2 = ppdFindOption(ppd, k.option2)) {
            for (int c = 0; c < option2->num_choices; ++c) {
                if (Qualifies(option2, c))
                    keys.insert(std::string(option2->keyword) + ":" + option2->choices[c].choice);
            }
        }
    }
    return keys;
}

// Marks the choice at position pick (clamped to the last) of every option.
void MarkEvery(ppd_file_t *ppd, int pick)
{
    for (ppd_option_t *o = ppdFirstOption(ppd); o; o = ppdNextOption(ppd)) {
        for (int c = 0; c < o->num_choices; ++c)
            o->choices[c].marked = c == std::min(pick, o->num_choices - 1);
    }
}

class RealPPDConflicts : public testing::TestWithParam<ctest::RealPPD>
{
};

TEST_P(RealPPDConflicts, TableAgreesWithAScanOfTheConstraints)
{
    veltra::PPDFile ppd = ctest::OpenRealPPD(GetParam());
    ASSERT_TRUE(ppd);
    auto table = CreateUIConstraintTable(ppd.get());
    ASSERT_GT(table->EntryCount(), size_t(ppd->num_consts) / 2);

    int conflicted = 0;
    for (int state = -1; state < 3; ++state) {
        if (state < 0)
            ppdMarkDefaults(ppd.get());
        else
            MarkEvery(ppd.get(), state == 2 ? 1000 : state + 1);
        const std::set<std::string> expected = ScanConflicts(ppd.get());
        for (ppd_option_t *o = ppdFirstOption(ppd.get()); o; o = ppdNextOption(ppd.get())) {
            for (int c = 0; c < o->num_choices; ++c) {
                const std::string key = std::string(o->keyword) + ":" + o->choices[c].choice;
                const bool answer =
                    IsPPDChoiceConflicted(ppd.get(), table.get(), o->keyword, o->choices[c].choice);
                EXPECT_EQ(answer, expected.count(key) == 1) << key << " in state " << state;
                conflicted += answer;
            }
        }
    }
    EXPECT_GT(conflicted, 0);
}

INSTANTIATE_TEST_SUITE_P(Vendors, RealPPDConflicts, testing::ValuesIn(ctest::kRealPPDs),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             for (char &ch : name)
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

} // namespace

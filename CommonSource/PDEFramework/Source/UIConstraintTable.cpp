// Building the UI-constraint table from a description's constraints, and the conflict query.
#include "UIConstraintTable.h"

#include <strings.h>

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// The longest text a std::string holds without a heap block of its own.
const std::size_t kInlineKeyCapacity = std::string().capacity();

// A qualifying choice stands for "some real setting" of an option named without a choice: never
// the option's first choice, nor one that switches the feature off.
bool IsQualifyingChoice(const ppd_option_t *option, int index)
{
    if (index < 1)
        return false;
    const char *name = option->choices[index].choice;
    return strcasecmp(name, "None") != 0 && strcasecmp(name, "Off") != 0 &&
           strcasecmp(name, "False") != 0;
}

// Entries hold 16-bit indices; a position beyond them cannot be entered.
bool FitsIndex(int index)
{
    return index >= 0 && index <= std::numeric_limits<UInt16>::max();
}

x_constraints Position(int group, int option, int choice)
{
    return {UInt16(group), UInt16(option), UInt16(choice)};
}

std::string MakeKey(const char *option, const char *choice)
{
    std::string key;
    key.reserve(std::strlen(option) + 1 + std::strlen(choice));
    key.append(option).append(1, ':').append(choice);
    return key;
}

// Calls visit(group index, option index, option) for each option whose keyword equals keyword
// without regard to case, in the order of the groups and their options, until visit answers
// true; answers whether one did.
template <typename Visit>
bool ForEachMatchingOption(ppd_file_t *ppd, const char *keyword, Visit visit)
{
    for (int g = 0; g < ppd->num_groups && FitsIndex(g); ++g) {
        ppd_group_t &group = ppd->groups[g];
        for (int o = 0; o < group.num_options && FitsIndex(o); ++o) {
            ppd_option_t &option = group.options[o];
            if (strcasecmp(option.keyword, keyword) == 0 && visit(g, o, option))
                return true;
        }
    }
    return false;
}

// The first option matching keyword, with its position; null when there is none.
ppd_option_t *FindFirstOption(ppd_file_t *ppd, const char *keyword, int *group, int *index)
{
    ppd_option_t *found = nullptr;
    ForEachMatchingOption(ppd, keyword, [&](int g, int o, ppd_option_t &option) {
        *group = g;
        *index = o;
        found = &option;
        return true;
    });
    return found;
}

// The position of the first choice matching choice in the first option matching keyword that
// has one.
bool FindFirstChoice(ppd_file_t *ppd, const char *keyword, const char *choice, x_constraints *at)
{
    return ForEachMatchingOption(ppd, keyword, [&](int g, int o, ppd_option_t &option) {
        for (int c = 0; c < option.num_choices && FitsIndex(c); ++c) {
            if (strcasecmp(option.choices[c].choice, choice) == 0) {
                *at = Position(g, o, c);
                return true;
            }
        }
        return false;
    });
}

// The constraint record index selects, or null.
const ppd_const_t *ConstraintAt(ppd_file_t *ppd, const UIConstraintTable *table, int index)
{
    if (!ppd || !table || !ppd->consts || index < 0 || index >= ppd->num_consts)
        return nullptr;
    return &ppd->consts[index];
}

} // namespace

std::size_t orvHash::operator()(const std::string &key) const
{
    std::uint32_t h = 0;
    for (const char byte : key)
        h = 5 * h + std::uint32_t(std::int32_t(static_cast<signed char>(byte)));
    return h;
}

UIConstraintTable::UIConstraintTable()
    : map(0, orvHash(), std::equal_to<std::string>(), Map::allocator_type(&allocatedBytes))
{}

void UIConstraintTable::Insert(std::string key, x_constraints value)
{
    if (key.capacity() > kInlineKeyCapacity)
        keyBytes += key.capacity() + 1;
    map.emplace(std::move(key), value);
}

std::size_t UIConstraintTable::MemoryBytes() const
{
    return sizeof *this + allocatedBytes + keyBytes;
}

void xConst2Hash_O1C1O2C2(ppd_file_t *ppd, UIConstraintTable *table, int index)
{
    const ppd_const_t *constraint = ConstraintAt(ppd, table, index);
    if (!constraint)
        return;
    x_constraints at;
    if (FindFirstChoice(ppd, constraint->option1, constraint->choice1, &at))
        table->Insert(MakeKey(constraint->option2, constraint->choice2), at);
}

void xConst2Hash_O1C1O2(ppd_file_t *ppd, UIConstraintTable *table, int index)
{
    const ppd_const_t *constraint = ConstraintAt(ppd, table, index);
    if (!constraint)
        return;
    x_constraints at;
    if (!FindFirstChoice(ppd, constraint->option1, constraint->choice1, &at))
        return;
    int group = 0, position = 0;
    const ppd_option_t *option2 = FindFirstOption(ppd, constraint->option2, &group, &position);
    if (!option2)
        return;
    for (int c = 0; c < option2->num_choices; ++c) {
        if (IsQualifyingChoice(option2, c))
            table->Insert(MakeKey(option2->keyword, option2->choices[c].choice), at);
    }
}

void xConst2Hash_O1O2C2(ppd_file_t *ppd, UIConstraintTable *table, int index)
{
    const ppd_const_t *constraint = ConstraintAt(ppd, table, index);
    if (!constraint)
        return;
    int group = 0, position = 0;
    const ppd_option_t *option1 = FindFirstOption(ppd, constraint->option1, &group, &position);
    if (!option1)
        return;
    const std::string key = MakeKey(constraint->option2, constraint->choice2);
    for (int c = 0; c < option1->num_choices && FitsIndex(c); ++c) {
        if (IsQualifyingChoice(option1, c))
            table->Insert(key, Position(group, position, c));
    }
}

void xConst2Hash_O1O2(ppd_file_t *ppd, UIConstraintTable *table, int index)
{
    const ppd_const_t *constraint = ConstraintAt(ppd, table, index);
    if (!constraint)
        return;
    ForEachMatchingOption(ppd, constraint->option1, [&](int g1, int o1, ppd_option_t &option1) {
        for (int c1 = 0; c1 < option1.num_choices && FitsIndex(c1); ++c1) {
            if (!IsQualifyingChoice(&option1, c1))
                continue;
            ForEachMatchingOption(ppd, constraint->option2, [&](int, int, ppd_option_t &option2) {
                for (int c2 = 0; c2 < option2.num_choices; ++c2) {
                    if (IsQualifyingChoice(&option2, c2))
                        table->Insert(MakeKey(option2.keyword, option2.choices[c2].choice),
                                      Position(g1, o1, c1));
                }
                return false;
            });
        }
        return false;
    });
}

bool BuildUIConstraintTable(ppd_file_t *ppd, UIConstraintTable *table)
{
    if (!ppd || !table)
        return false;
    // Most constraints add one entry; reserving that many avoids regrowing while filling.
    if (ppd->num_consts > 0)
        table->Reserve(table->EntryCount() + std::size_t(ppd->num_consts));
    for (int i = 0; i < ppd->num_consts; ++i) {
        const ppd_const_t &constraint = ppd->consts[i];
        const bool hasChoice1 = constraint.choice1[0] != '\0';
        const bool hasChoice2 = constraint.choice2[0] != '\0';
        if (hasChoice1 && hasChoice2)
            xConst2Hash_O1C1O2C2(ppd, table, i);
        else if (hasChoice1)
            xConst2Hash_O1C1O2(ppd, table, i);
        else if (hasChoice2)
            xConst2Hash_O1O2C2(ppd, table, i);
        else
            xConst2Hash_O1O2(ppd, table, i);
    }
    return true;
}

std::unique_ptr<UIConstraintTable> CreateUIConstraintTable(ppd_file_t *ppd)
{
    if (!ppd)
        return nullptr;
    auto table = std::make_unique<UIConstraintTable>();
    BuildUIConstraintTable(ppd, table.get());
    return table;
}

bool IsPPDChoiceConflicted(ppd_file_t *ppd, const UIConstraintTable *table, const char *option,
                           const char *choice)
{
    if (!ppd || !table || !option || !choice)
        return false;
    const auto [first, last] = table->Find(MakeKey(option, choice));
    for (auto entry = first; entry != last; ++entry) {
        const x_constraints &at = entry->second;
        if (at.groupIndex >= ppd->num_groups)
            continue;
        const ppd_group_t &group = ppd->groups[at.groupIndex];
        if (at.optionIndex >= group.num_options)
            continue;
        const ppd_option_t &located = group.options[at.optionIndex];
        if (at.choiceIndex < located.num_choices && located.choices[at.choiceIndex].marked)
            return true;
    }
    return false;
}

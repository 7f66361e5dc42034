// The UI-constraint table: the UIConstraints of one printer description in a hash multimap
// keyed by "Option:Choice", so that asking whether a choice conflicts with the marked ones costs
// one lookup instead of a scan of every constraint. Each entry under a key locates a choice
// (group, option, choice indices) that the key's choice cannot be combined with while that one
// is marked. The table is valid only for the description it was built from; its owner frees it.
#pragma once

#include <CoreFoundation/MacTypes.h>

#include <cups/ppd.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

// One side of a constraint: indices into the description's groups, the group's options and the
// option's choices.
struct x_constraints
{
    UInt16 groupIndex;
    UInt16 optionIndex;
    UInt16 choiceIndex;
};

// h = 5 * h + byte over the key's bytes taken as signed 8-bit values, in 32-bit arithmetic:
// "" hashes to 0, "abc" to 3014.
struct orvHash
{
    std::size_t operator()(const std::string &key) const;
};

// Counts the bytes the table's nodes and buckets take.
template <typename T> class UIConstraintAllocator
{
public:
    using value_type = T;
    explicit UIConstraintAllocator(std::size_t *counter) : counter(counter) {}
    template <typename U>
    UIConstraintAllocator(const UIConstraintAllocator<U> &other) : counter(other.counter)
    {}
    T *allocate(std::size_t n)
    {
        T *block = std::allocator<T>().allocate(n);
        *counter += n * sizeof(T);
        return block;
    }
    void deallocate(T *block, std::size_t n)
    {
        *counter -= n * sizeof(T);
        std::allocator<T>().deallocate(block, n);
    }
    template <typename U> bool operator==(const UIConstraintAllocator<U> &other) const
    {
        return counter == other.counter;
    }

    std::size_t *counter;
};

class UIConstraintTable
{
public:
    using Map =
        std::unordered_multimap<std::string, x_constraints, orvHash, std::equal_to<std::string>,
                                UIConstraintAllocator<std::pair<const std::string, x_constraints>>>;
    using Range = std::pair<Map::const_iterator, Map::const_iterator>;

    UIConstraintTable();
    UIConstraintTable(const UIConstraintTable &) = delete;
    UIConstraintTable &operator=(const UIConstraintTable &) = delete;

    // Adds an entry; entries of equal keys accumulate.
    void Insert(std::string key, x_constraints value);
    // Every entry of key (compared exactly, case-sensitive).
    Range Find(const std::string &key) const { return map.equal_range(key); }
    // Makes room for count entries without regrowing.
    void Reserve(std::size_t count) { map.reserve(count); }

    std::size_t EntryCount() const { return map.size(); }
    std::size_t BucketCount() const { return map.bucket_count(); }
    // Bytes held: nodes, buckets and key text that does not fit inside a string.
    std::size_t MemoryBytes() const;

private:
    std::size_t allocatedBytes = 0; // declared before map, which counts into it
    std::size_t keyBytes = 0;
    Map map;
};

// Builders, one per form of constraint; index selects the constraint record of ppd. Options are
// found without regard to case, walking the groups and their options (not sub-groups). A
// constraint naming an option or choice that ppd lacks adds nothing.
// Option1 Choice1 Option2 Choice2: one entry "Option2:Choice2" -> Option1's Choice1.
void xConst2Hash_O1C1O2C2(ppd_file_t *ppd, UIConstraintTable *table, int index);
// Option1 Choice1 Option2: "Option2:c" for each qualifying choice c of Option2 -> Choice1.
void xConst2Hash_O1C1O2(ppd_file_t *ppd, UIConstraintTable *table, int index);
// Option1 Option2 Choice2: "Option2:Choice2" -> each qualifying choice of Option1.
void xConst2Hash_O1O2C2(ppd_file_t *ppd, UIConstraintTable *table, int index);
// Option1 Option2: "Option2:c2" -> c1 for every qualifying c1 of Option1 and c2 of Option2.
void xConst2Hash_O1O2(ppd_file_t *ppd, UIConstraintTable *table, int index);

// Fills table from every constraint of ppd, each with the builder of its form. False for a
// null description or table.
bool BuildUIConstraintTable(ppd_file_t *ppd, UIConstraintTable *table);

// A new table of ppd's constraints; null for a null description.
std::unique_ptr<UIConstraintTable> CreateUIConstraintTable(ppd_file_t *ppd);

// Whether an entry under "option:choice" locates a choice currently marked in ppd. False for a
// key without entries and for null arguments.
bool IsPPDChoiceConflicted(ppd_file_t *ppd, const UIConstraintTable *table, const char *option,
                           const char *choice);

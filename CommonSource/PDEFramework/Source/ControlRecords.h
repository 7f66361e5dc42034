// The static description records of controls: identity, where the value lives, which other
// controls a control acts on, initial data and character filters. Panels declare them as
// constant tables next to their controls; controls never free them.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/HIToolbox.h>

#include <cstddef>

// A null-terminated list of controls.
typedef ControlID **ControlIDList;

// Per-state table: entry s lists the controls acted on while (or when) the control is in state
// s. An entry may be null. The count lets a lookup past the last entry apply nothing.
struct ControlStateTable
{
    const ControlIDList *lists;
    SInt32 count;

    // The list for state, or null for a negative state, one past the table, or a null entry.
    ControlIDList listFor(SInt32 state) const
    {
        if (!lists || state < 0 || state >= count)
            return nullptr;
        return lists[state];
    }
};

template <size_t N> constexpr ControlStateTable MakeStateTable(const ControlIDList (&lists)[N])
{
    return ControlStateTable{lists, SInt32(N)};
}

struct ControlAccessInfo
{
    OSType getDataTag;
    OSType setDataTag;
    CFStringRef preferenceUser; // filled in at load time (SetPreferenceUserOfRecords)
    CFStringRef ticketKey;      // null: nothing goes to the ticket
    CFStringRef preferenceKey;  // null: not saved to preferences
};

struct ConstrainInfo
{
    const ControlStateTable *disableTable;
    const ControlStateTable *hideTable;
    const ControlStateTable *updateTable;
    const void *reserved;
};

struct ListPopupIniData
{
    SInt32 reserved0;
    SInt32 defaultValue;    // 1-based menu item
    SInt32 iniValue;        // -1: no previous state
    CFStringRef *menuItems; // null-terminated localisation keys
};

struct CheckBoxIniData
{
    SInt32 reserved0;
    SInt32 defaultValue;
    SInt32 iniValue;
    CFStringRef titleKey;
};

struct RadioButtonIniData
{
    SInt32 reserved0;
    SInt32 defaultValue;
    SInt32 iniValue;
    CFStringRef titleKey;
    CFStringRef summaryTitleKey;
};

// A text record's texts: 255 bytes of UTF-8 and a NUL.
constexpr size_t kTextRecordSize = 256;

struct TextEditIniData
{
    char iniText[kTextRecordSize];
    char defaultText[kTextRecordSize];
    SInt32 minLength;
    SInt32 maxLength;
};

struct InputFilterRange
{
    SInt32 low;
    SInt32 high;
};

// The most ranges a filter holds; a larger count is read as this many.
constexpr SInt32 kMaxInputFilterRanges = 20;

struct InputFilterData
{
    SInt32 count;
    InputFilterRange ranges[kMaxInputFilterRanges];
};

typedef ControlKeyFilterResult (*TextEditKeyFilterProc)(ControlRef control, SInt16 *keyCode,
                                                        SInt16 *charCode,
                                                        EventModifiers *modifiers);

struct TextEditFilterData
{
    InputFilterData keyRanges;
    InputFilterData textRanges;
    TextEditKeyFilterProc keyFilter;
    CFStringRef errorMessageKey;
};

struct InstallableOptionChoice
{
    const char *choice; // matched as a prefix of the marked choice; null ends the table
    ControlIDList disableList;
};

struct InstallableOptionConstrainInfo
{
    const InstallableOptionChoice *choiceTable;
    const void *reserved1;
    const void *reserved2;
    const void *reserved3;
};

inline bool SameControlID(const ControlID *a, const ControlID *b)
{
    return a && b && a->signature == b->signature && a->id == b->id;
}

// Load-time set-up: gives every record that has a preferenceKey its preference user scope.
void SetPreferenceUserOfRecords(ControlAccessInfo *const *records, CFStringRef user);

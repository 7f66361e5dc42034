// Keystroke filters and text checks of the fields, and UTF-8 measuring.
#include "TextInputFilter.h"

#include <cstring>

namespace {

// Character codes of the editing keys every keystroke check lets through.
constexpr SInt32 kLeftArrowCharCode = 28;
constexpr SInt32 kRightArrowCharCode = 29;
constexpr SInt32 kBackspaceCharCode = 8;
constexpr SInt32 kForwardDeleteCharCode = 127;
// The refusal beep.
constexpr short kRefusalBeepDuration = 10;
// The keystroke checks measure the field through a buffer of this size.
constexpr Size kLengthBufferSize = 255;

constexpr unsigned short kSpace = 0x0020;
constexpr unsigned short kIdeographicSpace = 0x3000;

// A damaged table cannot make a check read past its 20 ranges.
int RangeCount(const InputFilterData &set)
{
    if (set.count <= 0)
        return 0;
    return set.count < kMaxInputFilterRanges ? set.count : kMaxInputFilterRanges;
}

bool IsEditingKey(SInt32 c)
{
    return c == kLeftArrowCharCode || c == kRightArrowCharCode || c == kBackspaceCharCode ||
           c == kForwardDeleteCharCode;
}

bool IsCommandKeyAlone(const unsigned short *modifiers)
{
    return modifiers && *modifiers == cmdKey;
}

// The byte size of the field's text under the plain-text tag; 0 when the field answers nothing.
Size CurrentFieldLength(ControlRef field, char *buffer)
{
    Size length = 0;
    if (!field || GetControlData(field, kControlNoPart, kControlEditTextTextTag, kLengthBufferSize,
                                 buffer, &length) != noErr)
        return 0;
    return length < 0 ? 0 : length;
}

// A character inside the key set: passes while the field has room, else beeps and blocks.
ControlKeyFilterResult CheckRoomForKey(ControlRef field, long maxLength)
{
    char buffer[kLengthBufferSize + 1] = {};
    if (CurrentFieldLength(field, buffer) < maxLength)
        return kControlKeyFilterPassKey;
    if (field)
        Draw1Control(field);
    SysBeep(kRefusalBeepDuration);
    return kControlKeyFilterBlockKey;
}

// A character outside the key set: editing keys pass; anything else beeps and passes only with
// the command key alone (so menu shortcuts still reach the dialog).
ControlKeyFilterResult CheckKeyOutsideSet(SInt32 c, const unsigned short *modifiers)
{
    if (IsEditingKey(c))
        return kControlKeyFilterPassKey;
    SysBeep(kRefusalBeepDuration);
    return IsCommandKeyAlone(modifiers) ? kControlKeyFilterPassKey : kControlKeyFilterBlockKey;
}

bool InRanges(const InputFilterData &set, SInt32 value)
{
    const int count = RangeCount(set);
    for (int i = 0; i < count; ++i) {
        if (set.ranges[i].low <= value && value <= set.ranges[i].high)
            return true;
    }
    return false;
}

// Strict UTF-8 decoding of one NUL-terminated text. Each sequence is checked byte by byte, so a
// truncated sequence stops at the terminating NUL and nothing past it is read. Calls unit(u) for
// every UTF-16 unit and answers false at the first malformed sequence (overlong forms, surrogate
// code points, values past U+10FFFF, stray continuation bytes, 0xC0, 0xC1, 0xF5..0xFF).
template <typename UnitSink> bool DecodeUTF8(const char *utf8, UnitSink unit)
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8);
    while (*p) {
        const unsigned char lead = *p++;
        if (lead < 0x80) {
            unit(char16_t(lead));
            continue;
        }
        int trailing = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trailing = 1;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trailing = 2;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trailing = 3;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        for (int i = 0; i < trailing; ++i) {
            const unsigned char next = *p;
            if ((next & 0xC0) != 0x80)
                return false; // also stops at the NUL of a truncated sequence
            cp = (cp << 6) | (next & 0x3F);
            ++p;
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(char16_t(0xD800 + (cp >> 10)));
            unit(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            unit(char16_t(cp));
        }
    }
    return true;
}

} // namespace

ControlKeyFilterResult InputCharsCheck(ControlRef field, short *charCode, unsigned short *modifiers,
                                       long maxLength, TextEditFilterData *filter,
                                       unsigned long /*tag: the length is always the plain text's*/)
{
    if (!charCode)
        return kControlKeyFilterBlockKey;
    const SInt32 c = SInt16(*charCode);
    if (filter && InRanges(filter->keyRanges, c))
        return CheckRoomForKey(field, maxLength);
    return CheckKeyOutsideSet(c, modifiers);
}

ControlKeyFilterResult charEditBoxCheck(ControlRef field, short *charCode, long maxLength,
                                        TextEditFilterData *filter, unsigned short *modifiers)
{
    if (!charCode)
        return kControlKeyFilterBlockKey;
    // The set is matched on the low byte: the name fields' sets are byte ranges of the legacy
    // encoding.
    const SInt32 lowByte = SInt32(UInt16(*charCode) & 0xFF);
    ControlKeyFilterResult result;
    if (filter && InRanges(filter->keyRanges, lowByte))
        result = CheckRoomForKey(field, maxLength);
    else
        result = CheckKeyOutsideSet(SInt16(*charCode), modifiers);
    if (field)
        Draw1Control(field);
    return result;
}

ControlKeyFilterResult passwordEditBoxCheck(ControlRef field, short *charCode, long maxLength,
                                            unsigned short *modifiers)
{
    if (!charCode)
        return kControlKeyFilterBlockKey;
    const int digit = int(UInt16(*charCode) & 0xFF) - '0';
    if (digit < 0 || digit > 9)
        return CheckKeyOutsideSet(SInt16(*charCode), modifiers);

    char text[kLengthBufferSize + 1] = {};
    const Size length = CurrentFieldLength(field, text);
    if (length < maxLength)
        return kControlKeyFilterPassKey;

    // A field that already holds more than it may (pasted or set by the program) is cut back to
    // its limit before the digit is refused.
    Size kept = maxLength < 0 ? 0 : Size(maxLength);
    if (kept > kLengthBufferSize)
        kept = kLengthBufferSize;
    if (kept > length)
        kept = length;
    text[kept] = 0;
    if (field)
        SetControlData(field, kControlNoPart, kControlEditTextPasswordTag, kept, text);
    SysBeep(kRefusalBeepDuration);
    return kControlKeyFilterBlockKey;
}

bool validateInput(unsigned short *text, TextEditFilterData *filter)
{
    if (!text || !filter)
        return false;
    for (const unsigned short *u = text; *u; ++u) {
        if (!InRanges(filter->textRanges, *u))
            return false;
    }
    return true;
}

bool IsAllSpace(unsigned short *text)
{
    if (!text)
        return false;
    for (const unsigned short *u = text; *u; ++u) {
        if (*u != kSpace && *u != kIdeographicSpace)
            return false;
    }
    return true;
}

bool ISByteValid(char *c, InputFilterData *set)
{
    if (!c || !set)
        return false;
    const UInt32 byte = UInt8(*c);
    const int count = RangeCount(*set);
    for (int i = 0; i < count; ++i) {
        if ((UInt32(set->ranges[i].low) & 0xFF) <= byte &&
            byte <= (UInt32(set->ranges[i].high) & 0xFF))
            return true;
    }
    return false;
}

bool ISWordValid(unsigned short *c, InputFilterData *set)
{
    if (!c || !set)
        return false;
    return InRanges(*set, SInt32(*c));
}

bool ISWordSpace(unsigned short *c, InputFilterData *set)
{
    return ISWordValid(c, set);
}

bool ISByteSpace(char *c, InputFilterData *set)
{
    if (!c || !set)
        return false;
    // Sign-widened and compared unsigned: bytes 0x80..0xFF become huge values that the tables'
    // ranges never reach.
    const UInt32 value = UInt32(SInt32(static_cast<signed char>(*c)));
    const int count = RangeCount(*set);
    for (int i = 0; i < count; ++i) {
        if (UInt32(set->ranges[i].low) <= value && value <= UInt32(set->ranges[i].high))
            return true;
    }
    return false;
}

bool ConvertUTF8ToUnicode(char *utf8, unsigned short *out)
{
    if (!utf8 || !out)
        return false;
    if (!*utf8)
        return true;
    // Every sequence yields at most as many units as it has bytes, so out never overflows the
    // caller's one unit per byte.
    size_t written = 0;
    const bool valid = DecodeUTF8(utf8, [&](char16_t u) { out[written++] = u; });
    out[valid ? written : 0] = 0;
    return valid;
}

int GetControlLength(char *utf8)
{
    if (!utf8)
        return 0;
    int length = 0;
    if (!DecodeUTF8(utf8, [&](char16_t u) { length += u < 0x100 ? 1 : 2; }))
        return 0;
    return length;
}

CFStringRef CFStringCreateWithCopyCut(CFStringRef text, int maxUnits)
{
    if (!text)
        return nullptr;
    CFIndex units = CFStringGetLength(text);
    if (maxUnits < 0)
        maxUnits = 0;
    if (units > maxUnits)
        units = maxUnits;
    return CFStringCreateWithSubstring(kCFAllocatorDefault, text, CFRangeMake(0, units));
}

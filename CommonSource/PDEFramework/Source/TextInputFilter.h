// Keystroke and text checks of text fields, and the text utilities the controls measure with.
#pragma once

#include "ControlRecords.h"

// Keystroke checks: kControlKeyFilterPassKey (1) passes the key, kControlKeyFilterBlockKey (0)
// blocks it (with a beep).
ControlKeyFilterResult InputCharsCheck(ControlRef field, short *charCode, unsigned short *modifiers,
                                       long maxLength, TextEditFilterData *filter,
                                       unsigned long tag);
ControlKeyFilterResult charEditBoxCheck(ControlRef field, short *charCode, long maxLength,
                                        TextEditFilterData *filter, unsigned short *modifiers);
ControlKeyFilterResult passwordEditBoxCheck(ControlRef field, short *charCode, long maxLength,
                                            unsigned short *modifiers);

// Whole-text checks on NUL-terminated UTF-16 text.
bool validateInput(unsigned short *text, TextEditFilterData *filter);
bool IsAllSpace(unsigned short *text);

bool ISByteValid(char *c, InputFilterData *set);
bool ISWordValid(unsigned short *c, InputFilterData *set);
bool ISWordSpace(unsigned short *c, InputFilterData *set);
bool ISByteSpace(char *c, InputFilterData *set);

// UTF-8 to NUL-terminated UTF-16; out needs one unit per input byte plus one. False (and an
// empty out) for text that is not valid UTF-8; true and out untouched for an empty text.
bool ConvertUTF8ToUnicode(char *utf8, unsigned short *out);
// Display length: 1 per UTF-16 unit below U+0100, 2 per other unit; 0 for invalid UTF-8.
int GetControlLength(char *utf8);
// A new string of the first min(length, maxUnits) UTF-16 units of text.
CFStringRef CFStringCreateWithCopyCut(CFStringRef text, int maxUnits);

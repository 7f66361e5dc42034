// What a key press means to a key filter: the legacy codes documented in Controls.h.
#pragma once

#include "Controls.h"

#include <QVarLengthArray>

class QKeyEvent;

struct LegacyKeystroke
{
    SInt16 keyCode = 0;
    EventModifiers modifiers = 0;
    // One code per character the key types (usually one).
    QVarLengthArray<SInt16, 2> charCodes;
};

// The legacy codes of a key press; false for a key that types no character and is no editing
// key (F1, Home, a modifier key alone), which reaches the field without the filter.
bool LegacyKeystrokeFromEvent(const QKeyEvent &event, LegacyKeystroke *out);
// The legacy character code of one UTF-16 unit.
SInt16 LegacyCharCode(char16_t unit);

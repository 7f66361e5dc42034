// Key presses translated into the codes that key filters read.
#include "KeyFilter.h"

#include <QKeyEvent>

namespace {

constexpr SInt16 kLeftArrowCharCode = 28;
constexpr SInt16 kRightArrowCharCode = 29;
constexpr SInt16 kUpArrowCharCode = 30;
constexpr SInt16 kDownArrowCharCode = 31;
constexpr SInt16 kBackspaceCharCode = 8;
constexpr SInt16 kReturnCharCode = 13;
constexpr SInt16 kEscapeCharCode = 27;
constexpr SInt16 kDeleteCharCode = 127;
// Stands for every character the legacy encoding cannot hold; no key set admits it.
constexpr SInt16 kUnmappableCharCode = 0x80;

constexpr char16_t kFirstHalfWidthKana = 0xFF61;
constexpr char16_t kLastHalfWidthKana = 0xFF9F;
constexpr SInt16 kFirstLegacyKana = 0xA1;

SInt16 EditingKeyCharCode(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return kLeftArrowCharCode;
    case Qt::Key_Right:
        return kRightArrowCharCode;
    case Qt::Key_Up:
        return kUpArrowCharCode;
    case Qt::Key_Down:
        return kDownArrowCharCode;
    case Qt::Key_Backspace:
        return kBackspaceCharCode;
    case Qt::Key_Delete:
        return kDeleteCharCode;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kReturnCharCode;
    case Qt::Key_Escape:
        return kEscapeCharCode;
    default:
        return -1;
    }
}

EventModifiers LegacyModifiers(Qt::KeyboardModifiers modifiers)
{
    EventModifiers result = 0;
    if (modifiers & Qt::ControlModifier)
        result |= cmdKey;
    if (modifiers & Qt::ShiftModifier)
        result |= shiftKey;
    if (modifiers & Qt::AltModifier)
        result |= optionKey;
    if (modifiers & Qt::MetaModifier)
        result |= controlKey;
    return result;
}

bool IsControlCharacter(char16_t unit)
{
    return unit < 0x20 || unit == 0x7F;
}

} // namespace

SInt16 LegacyCharCode(char16_t unit)
{
    if (unit < 0x100)
        return SInt16(unit);
    if (unit >= kFirstHalfWidthKana && unit <= kLastHalfWidthKana)
        return SInt16(kFirstLegacyKana + (unit - kFirstHalfWidthKana));
    return kUnmappableCharCode;
}

bool LegacyKeystrokeFromEvent(const QKeyEvent &event, LegacyKeystroke *out)
{
    if (!out)
        return false;
    out->keyCode = SInt16(event.nativeVirtualKey() & 0xFFFF);
    out->modifiers = LegacyModifiers(event.modifiers());
    out->charCodes.clear();

    const SInt16 editing = EditingKeyCharCode(event.key());
    if (editing >= 0) {
        out->charCodes.append(editing);
        return true;
    }

    QString text = event.text();
    if (text.isEmpty() || IsControlCharacter(text.at(0).unicode())) {
        // A chord with Ctrl carries a control character (or nothing); the key names the
        // character the filter sees, as the command key's characters did.
        const int key = event.key();
        if (key < 0x20 || key > 0xFF)
            return false;
        QChar character{char16_t(key)};
        if (character.isLetter() && !(event.modifiers() & Qt::ShiftModifier))
            character = character.toLower();
        text = QString(character);
    }
    for (const QChar character : text)
        out->charCodes.append(LegacyCharCode(character.unicode()));
    return true;
}

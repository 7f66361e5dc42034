// Control data of text fields and static texts (see Controls.h).
#include "Controls.h"

#include "HIControl.h"

#include "../CoreFoundation/CFQt.h"
#include "../CoreFoundation/CFString.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cstring>

namespace {

bool IsLegacyTextTag(ResType tag)
{
    return tag == kControlEditTextTextTag || tag == kControlEditTextPasswordTag;
}

bool IsCFStringTag(ResType tag)
{
    return tag == kControlEditTextCFStringTag || tag == kControlEditTextPasswordCFStringTag;
}

// Whether the widget of this kind carries data under tag.
bool Supports(ControlKind kind, ResType tag)
{
    switch (kind) {
    case ControlKind::EditText:
        return IsLegacyTextTag(tag) || IsCFStringTag(tag) || tag == kControlEditTextKeyFilterTag;
    case ControlKind::StaticText:
        return tag == kControlStaticTextTextTag || tag == kControlStaticTextCFStringTag;
    default:
        return false;
    }
}

// Legacy bytes: one byte per unit below U+0100, two (high byte first) per other unit.
QByteArray LegacyBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit >= 0x100)
            bytes.append(char(unit >> 8));
        bytes.append(char(unit & 0xFF));
    }
    return bytes;
}

// Bytes set through a legacy tag are read as Latin-1, up to a NUL if there is one.
QString TextFromLegacyBytes(const void *data, Size size)
{
    const char *bytes = static_cast<const char *>(data);
    const Size length = bytes ? Size(std::find(bytes, bytes + size, '\0') - bytes) : 0;
    return QString::fromLatin1(bytes, qsizetype(length));
}

QString WidgetText(const HIControl &control)
{
    if (control.kind() == ControlKind::EditText)
        return static_cast<const QLineEdit *>(control.widget())->text();
    return static_cast<const QLabel *>(control.widget())->text();
}

void SetWidgetText(HIControl &control, const QString &text)
{
    if (control.kind() == ControlKind::EditText) {
        static_cast<QLineEdit *>(control.widget())->setText(text);
        return;
    }
    auto *label = static_cast<QLabel *>(control.widget());
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
}

} // namespace

OSStatus GetControlData(ControlRef control, ControlPartCode, ResType tag, Size bufferSize,
                        void *buffer, Size *actualSize)
{
    if (actualSize)
        *actualSize = 0;
    HIControl *object = HIControl::find(control);
    if (!object || bufferSize < 0)
        return paramErr;
    if (!Supports(object->kind(), tag))
        return errDataNotSupported;

    if (IsLegacyTextTag(tag)) {
        // The whole size is reported even when the buffer takes only its beginning.
        const QByteArray bytes = LegacyBytes(WidgetText(*object));
        if (buffer)
            std::memcpy(buffer, bytes.constData(), std::min<size_t>(bufferSize, bytes.size()));
        if (actualSize)
            *actualSize = bytes.size();
        return noErr;
    }
    if (IsCFStringTag(tag)) {
        if (!buffer || bufferSize < Size(sizeof(CFStringRef)))
            return paramErr;
        CFStringRef text = CFStringCreateWithQString(WidgetText(*object));
        if (!text)
            return memFullErr;
        std::memcpy(buffer, &text, sizeof(text));
        if (actualSize)
            *actualSize = sizeof(text);
        return noErr;
    }
    // The key filter.
    if (!buffer || bufferSize < Size(sizeof(ControlKeyFilterUPP)))
        return paramErr;
    const ControlKeyFilterUPP filter = object->keyFilter();
    std::memcpy(buffer, &filter, sizeof(filter));
    if (actualSize)
        *actualSize = sizeof(filter);
    return noErr;
}

OSStatus SetControlData(ControlRef control, ControlPartCode, ResType tag, Size size,
                        const void *data)
{
    HIControl *object = HIControl::find(control);
    if (!object || size < 0 || (size > 0 && !data))
        return paramErr;
    if (!Supports(object->kind(), tag))
        return errDataNotSupported;

    if (IsLegacyTextTag(tag)) {
        SetWidgetText(*object, TextFromLegacyBytes(data, size));
        return noErr;
    }
    if (IsCFStringTag(tag)) {
        CFStringRef text = nullptr;
        if (size < Size(sizeof(text)))
            return paramErr;
        std::memcpy(&text, data, sizeof(text));
        if (!text || CFGetTypeID(text) != CFStringGetTypeID())
            return paramErr;
        SetWidgetText(*object, QStringFromCF(text));
        return noErr;
    }
    ControlKeyFilterUPP filter = nullptr;
    if (size < Size(sizeof(filter)))
        return paramErr;
    std::memcpy(&filter, data, sizeof(filter));
    object->setKeyFilter(filter);
    return noErr;
}

OSStatus GetControlDataSize(ControlRef control, ControlPartCode, ResType tag, Size *outSize)
{
    if (outSize)
        *outSize = 0;
    HIControl *object = HIControl::find(control);
    if (!object || !outSize)
        return paramErr;
    if (!Supports(object->kind(), tag))
        return errDataNotSupported;
    if (IsLegacyTextTag(tag))
        *outSize = LegacyBytes(WidgetText(*object)).size();
    else if (IsCFStringTag(tag))
        *outSize = sizeof(CFStringRef);
    else
        *outSize = sizeof(ControlKeyFilterUPP);
    return noErr;
}

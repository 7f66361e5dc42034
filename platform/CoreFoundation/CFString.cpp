// CFString: immutable and mutable strings of UTF-16 code units held in a QString.
#include "CFString.h"

#include "CFInternal.h"
#include "CFStringEncoding.h"

#include <QHash>
#include <QMutex>

#include <cstring>
#include <limits>

namespace {

// A range inside a string of length units; negative or overlong ranges are refused.
bool rangeIsValid(CFRange range, qsizetype length)
{
    return range.location >= 0 && range.length >= 0 && range.location <= length &&
           range.length <= length - range.location;
}

__CFString *mutableString(CFMutableStringRef str)
{
    __CFString *s = CFRuntimeCastMutable<__CFString>(str);
    return s && s->isMutable ? s : nullptr;
}

CFStringRef createFromDecoded(std::optional<QString> text)
{
    return text ? CFRuntimeCreateString(std::move(*text)) : nullptr;
}

} // namespace

bool __CFString::equals(const __CFRuntimeBase &other) const
{
    return text == static_cast<const __CFString &>(other).text;
}

CFHashCode __CFString::hash() const
{
    return CFHashCode(qHash(text));
}

CFTypeID CFStringGetTypeID()
{
    return kCFRuntimeStringTypeID;
}

CFStringRef __CFStringMakeConstantString(const char *utf8)
{
    if (!utf8)
        return nullptr;
    // Never destroyed: the constants live as long as the process and stay reachable.
    static QMutex mutex;
    static QHash<QByteArray, __CFString *> &constants = *new QHash<QByteArray, __CFString *>;
    const QByteArray key(utf8);
    QMutexLocker locker(&mutex);
    __CFString *&constant = constants[key];
    if (!constant) {
        // A literal of this program; text that is not UTF-8 is a programming error and is
        // shown with replacement characters rather than lost.
        constant = CFRuntimeCreate<__CFString>(QString::fromUtf8(key));
        constant->makeImmortal();
    }
    return constant;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char *text, CFStringEncoding encoding)
{
    if (!text)
        return nullptr;
    return createFromDecoded(
        CFStringEncodingDecode(text, qsizetype(std::strlen(text)), encoding, false));
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8 *bytes, CFIndex length,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation)
{
    return createFromDecoded(CFStringEncodingDecode(reinterpret_cast<const char *>(bytes),
                                                    qsizetype(length), encoding,
                                                    isExternalRepresentation));
}

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar *chars, CFIndex count)
{
    if (count < 0 || (!chars && count > 0))
        return nullptr;
    return CFRuntimeCreateString(QString(reinterpret_cast<const QChar *>(chars), count));
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef str)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    if (!s)
        return nullptr;
    if (!s->isMutable) {
        CFRetain(str);
        return str;
    }
    return CFRuntimeCreateString(s->text);
}

CFStringRef CFStringCreateWithSubstring(CFAllocatorRef, CFStringRef str, CFRange range)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    if (!s || !rangeIsValid(range, s->text.size()))
        return nullptr;
    return CFRuntimeCreateString(s->text.mid(range.location, range.length));
}

CFMutableStringRef CFStringCreateMutable(CFAllocatorRef, CFIndex)
{
    return CFRuntimeCreate<__CFString>(QString(""), true);
}

CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef, CFIndex, CFStringRef str)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    if (!s)
        return nullptr;
    return CFRuntimeCreate<__CFString>(s->text, true);
}

CFIndex CFStringGetLength(CFStringRef str)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    return s ? CFIndex(s->text.size()) : 0;
}

UniChar CFStringGetCharacterAtIndex(CFStringRef str, CFIndex index)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    if (!s || index < 0 || index >= s->text.size())
        return 0;
    return s->text.at(index).unicode();
}

void CFStringGetCharacters(CFStringRef str, CFRange range, UniChar *buffer)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    if (!s || !buffer || !rangeIsValid(range, s->text.size()))
        return;
    std::memcpy(buffer, s->text.utf16() + range.location, size_t(range.length) * sizeof(UniChar));
}

Boolean CFStringGetCString(CFStringRef str, char *buffer, CFIndex bufferSize,
                           CFStringEncoding encoding)
{
    if (!buffer || bufferSize <= 0)
        return false;
    buffer[0] = '\0';
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    if (!s)
        return false;
    const std::optional<QByteArray> bytes = CFStringEncodingEncode(s->text, encoding);
    if (!bytes || bytes->size() >= bufferSize)
        return false;
    std::memcpy(buffer, bytes->constData(), size_t(bytes->size()));
    buffer[bytes->size()] = '\0';
    return true;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding)
{
    const qsizetype perUnit = CFStringEncodingMaxBytesPerUnit(encoding);
    if (length < 0 || perUnit == 0 || length > std::numeric_limits<CFIndex>::max() / perUnit)
        return kCFNotFound;
    return length * perUnit;
}

CFIndex CFStringGetBytes(CFStringRef str, CFRange range, CFStringEncoding encoding, UInt8 lossByte,
                         Boolean isExternalRepresentation, UInt8 *buffer, CFIndex maxBufLen,
                         CFIndex *usedBufLen)
{
    if (usedBufLen)
        *usedBufLen = 0;
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    if (!s || !rangeIsValid(range, s->text.size()) || !CFStringEncodingIsSupported(encoding) ||
        (buffer && maxBufLen < 0))
        return 0;

    // Character by character (a surrogate pair is one), so that a character that cannot be
    // encoded is replaced by lossByte or ends the conversion, and a full buffer never holds
    // half a character.
    const QStringView text = QStringView(s->text).mid(range.location, range.length);
    CFIndex used = 0;
    auto put = [&](const QByteArray &bytes) {
        if (buffer) {
            if (bytes.size() > maxBufLen - used)
                return false;
            std::memcpy(buffer + used, bytes.constData(), size_t(bytes.size()));
        }
        used += bytes.size();
        return true;
    };
    if (isExternalRepresentation && encoding == kCFStringEncodingUnicode) {
        const char16_t bom = 0xFEFF;
        if (!put(QByteArray(reinterpret_cast<const char *>(&bom), 2)))
            return 0;
    }
    qsizetype converted = 0;
    while (converted < text.size()) {
        qsizetype units = 1;
        if (text[converted].isHighSurrogate() && converted + 1 < text.size() &&
            text[converted + 1].isLowSurrogate())
            units = 2;
        std::optional<QByteArray> bytes =
            CFStringEncodingEncode(text.mid(converted, units), encoding);
        if (!bytes) {
            if (lossByte == 0)
                break;
            bytes = QByteArray(1, char(lossByte));
        }
        if (!put(*bytes))
            break;
        converted += units;
    }
    if (usedBufLen)
        *usedBufLen = used;
    return CFIndex(converted);
}

CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFOptionFlags options)
{
    const QString left = CFRuntimeStringText(a);
    const QString right = CFRuntimeStringText(b);
    const int order = QString::compare(left, right,
                                       (options & kCFCompareCaseInsensitive) ? Qt::CaseInsensitive
                                                                             : Qt::CaseSensitive);
    return order < 0 ? kCFCompareLessThan : order > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo;
}

Boolean CFStringHasPrefix(CFStringRef str, CFStringRef prefix)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    const __CFString *p = CFRuntimeCast<__CFString>(prefix);
    return s && p && s->text.startsWith(p->text);
}

void CFStringAppend(CFMutableStringRef str, CFStringRef appended)
{
    __CFString *s = mutableString(str);
    const __CFString *a = CFRuntimeCast<__CFString>(appended);
    if (s && a)
        s->text.append(a->text);
}

void CFStringAppendCString(CFMutableStringRef str, const char *text, CFStringEncoding encoding)
{
    __CFString *s = mutableString(str);
    if (!s || !text)
        return;
    // Text that is not valid in the encoding appends nothing.
    if (std::optional<QString> decoded =
            CFStringEncodingDecode(text, qsizetype(std::strlen(text)), encoding, false))
        s->text.append(*decoded);
}

void CFStringAppendCharacters(CFMutableStringRef str, const UniChar *chars, CFIndex count)
{
    __CFString *s = mutableString(str);
    if (!s || !chars || count <= 0)
        return;
    s->text.append(reinterpret_cast<const QChar *>(chars), count);
}

void CFStringReplaceAll(CFMutableStringRef str, CFStringRef replacement)
{
    __CFString *s = mutableString(str);
    const __CFString *r = CFRuntimeCast<__CFString>(replacement);
    if (s && r)
        s->text = r->text;
}

void CFStringDelete(CFMutableStringRef str, CFRange range)
{
    __CFString *s = mutableString(str);
    if (s && rangeIsValid(range, s->text.size()))
        s->text.remove(range.location, range.length);
}

Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding)
{
    return CFStringEncodingIsSupported(encoding);
}

// CFUUID: 16 bytes naming plug-in types, factories and interfaces.
#include "CFUUID.h"

#include "CFInternal.h"

#include <QHash>
#include <QMutex>

#include <array>
#include <cstring>
#include <optional>

namespace {

using ByteArray16 = std::array<UInt8, 16>;

ByteArray16 toArray(const CFUUIDBytes &bytes)
{
    ByteArray16 result;
    static_assert(sizeof(CFUUIDBytes) == 16);
    std::memcpy(result.data(), &bytes, 16);
    return result;
}

CFUUIDBytes fromArray(const ByteArray16 &bytes)
{
    CFUUIDBytes result;
    std::memcpy(&result, bytes.data(), 16);
    return result;
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// "8-4-4-4-12" hexadecimal digits, either case; nothing for any other text.
std::optional<ByteArray16> parseUUID(const QString &text)
{
    constexpr qsizetype kTextLength = 36;
    if (text.size() != kTextLength)
        return std::nullopt;
    ByteArray16 bytes{};
    size_t byte = 0;
    for (qsizetype i = 0; i < kTextLength;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != u'-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[byte++] = UInt8(high << 4 | low);
        i += 2;
    }
    return bytes;
}

} // namespace

bool __CFUUID::equals(const __CFRuntimeBase &other) const
{
    return std::memcmp(&bytes, &static_cast<const __CFUUID &>(other).bytes, 16) == 0;
}

CFHashCode __CFUUID::hash() const
{
    const ByteArray16 array = toArray(bytes);
    return CFHashCode(qHashBits(array.data(), array.size()));
}

CFTypeID CFUUIDGetTypeID()
{
    return kCFRuntimeUUIDTypeID;
}

CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef, CFStringRef uuidText)
{
    const __CFString *text = CFRuntimeCast<__CFString>(uuidText);
    if (!text)
        return nullptr;
    const std::optional<ByteArray16> bytes = parseUUID(text->text);
    return bytes ? CFRuntimeCreate<__CFUUID>(fromArray(*bytes)) : nullptr;
}

CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef, CFUUIDBytes bytes)
{
    return CFRuntimeCreate<__CFUUID>(bytes);
}

CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef, UInt8 b0, UInt8 b1, UInt8 b2, UInt8 b3,
                                         UInt8 b4, UInt8 b5, UInt8 b6, UInt8 b7, UInt8 b8, UInt8 b9,
                                         UInt8 b10, UInt8 b11, UInt8 b12, UInt8 b13, UInt8 b14,
                                         UInt8 b15)
{
    // Never destroyed: the constants live as long as the process and stay reachable.
    static QMutex mutex;
    static QHash<QByteArray, __CFUUID *> &constants = *new QHash<QByteArray, __CFUUID *>;
    const ByteArray16 bytes = {b0, b1, b2,  b3,  b4,  b5,  b6,  b7,
                               b8, b9, b10, b11, b12, b13, b14, b15};
    const QByteArray key(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    QMutexLocker locker(&mutex);
    __CFUUID *&constant = constants[key];
    if (!constant) {
        constant = CFRuntimeCreate<__CFUUID>(fromArray(bytes));
        constant->makeImmortal();
    }
    return constant;
}

CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid)
{
    const __CFUUID *u = CFRuntimeCast<__CFUUID>(uuid);
    return u ? u->bytes : CFUUIDBytes{};
}

CFStringRef CFUUIDCreateString(CFAllocatorRef, CFUUIDRef uuid)
{
    const __CFUUID *u = CFRuntimeCast<__CFUUID>(uuid);
    if (!u)
        return nullptr;
    const ByteArray16 bytes = toArray(u->bytes);
    QString text;
    text.reserve(36);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.append(u'-');
        text.append(QString::asprintf("%02X", bytes[i]));
    }
    return CFRuntimeCreateString(std::move(text));
}

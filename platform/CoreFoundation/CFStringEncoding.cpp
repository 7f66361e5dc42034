// Byte encodings of CFString: UTF-8 and UTF-16 through Qt, ASCII by hand, and the legacy
// encodings of printer descriptions (Latin-1, Windows Latin-1, Mac Roman, Shift_JIS) through
// the C library's iconv.
#include "CFStringEncoding.h"

#include "CFString.h"

#include <QStringDecoder>
#include <QtEndian>

#include <cerrno>
#include <iconv.h>

namespace {

// The iconv names of the legacy encodings, best first.
struct LegacyEncoding
{
    CFStringEncoding encoding;
    const char *names[2];
};

// Shift_JIS as Microsoft extends it (CP932) keeps ASCII intact (0x5C is a backslash) and knows
// the NEC and IBM extension characters that Japanese printer descriptions use.
constexpr LegacyEncoding kLegacyEncodings[] = {
    {kCFStringEncodingISOLatin1, {"ISO-8859-1", nullptr}},
    {kCFStringEncodingWindowsLatin1, {"CP1252", "WINDOWS-1252"}},
    {kCFStringEncodingMacRoman, {"MACINTOSH", "MACROMAN"}},
    {kCFStringEncodingMacJapanese, {"CP932", "SHIFT_JIS"}},
};

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char *kHostUTF16 = "UTF-16LE";
#else
constexpr const char *kHostUTF16 = "UTF-16BE";
#endif

// Owns one conversion descriptor.
class IconvHandle
{
public:
    IconvHandle(const char *to, const char *from) : m_handle(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (isValid())
            iconv_close(m_handle);
    }
    IconvHandle(const IconvHandle &) = delete;
    IconvHandle &operator=(const IconvHandle &) = delete;

    bool isValid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts all of input strictly: nothing for an invalid, incomplete or unrepresentable
    // sequence.
    std::optional<QByteArray> convert(const char *input, size_t length) const
    {
        QByteArray output;
        output.resize(qsizetype(length * 4 + 16));
        char *in = const_cast<char *>(input);
        size_t inLeft = length;
        char *out = output.data();
        size_t outLeft = size_t(output.size());
        for (;;) {
            const size_t result = iconv(m_handle, inLeft ? &in : nullptr, &inLeft, &out, &outLeft);
            if (result != size_t(-1)) {
                if (inLeft == 0) {
                    // Flush the shift state of stateful encodings.
                    if (iconv(m_handle, nullptr, nullptr, &out, &outLeft) == size_t(-1))
                        return std::nullopt;
                    break;
                }
                continue;
            }
            if (errno != E2BIG)
                return std::nullopt; // EILSEQ, EINVAL: never guess
            const qsizetype used = out - output.data();
            output.resize(output.size() * 2);
            out = output.data() + used;
            outLeft = size_t(output.size() - used);
        }
        // A non-reversible conversion is counted in the result; strict mode reports none.
        output.resize(out - output.data());
        return output;
    }

private:
    iconv_t m_handle;
};

const char *legacyName(CFStringEncoding encoding)
{
    for (const LegacyEncoding &legacy : kLegacyEncodings) {
        if (legacy.encoding != encoding)
            continue;
        for (const char *name : legacy.names) {
            if (!name)
                continue;
            if (IconvHandle(kHostUTF16, name).isValid() && IconvHandle(name, kHostUTF16).isValid())
                return name;
        }
        return nullptr;
    }
    return nullptr;
}

// The iconv name of a legacy encoding on this system, looked up once.
const char *legacyIconvName(CFStringEncoding encoding)
{
    static const char *const names[] = {
        legacyName(kLegacyEncodings[0].encoding),
        legacyName(kLegacyEncodings[1].encoding),
        legacyName(kLegacyEncodings[2].encoding),
        legacyName(kLegacyEncodings[3].encoding),
    };
    for (size_t i = 0; i < std::size(kLegacyEncodings); ++i) {
        if (kLegacyEncodings[i].encoding == encoding)
            return names[i];
    }
    return nullptr;
}

bool isLegacy(CFStringEncoding encoding)
{
    for (const LegacyEncoding &legacy : kLegacyEncodings) {
        if (legacy.encoding == encoding)
            return true;
    }
    return false;
}

bool hasLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

std::optional<QString> decodeUTF8(const char *bytes, qsizetype length, bool external)
{
    if (external && length >= 3 && QByteArrayView(bytes, 3) == "\xEF\xBB\xBF") {
        bytes += 3;
        length -= 3;
    }
    // Keywords, choice names and most texts of a PPD are plain ASCII: no decoder needed.
    if (QtPrivate::isAscii(QLatin1StringView(bytes, length)))
        return QString::fromLatin1(bytes, length);
    // Keep a byte-order mark that is part of the text; the decoder rejects truncated and
    // overlong sequences, encoded surrogates and values beyond U+10FFFF.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes, length));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decodeUTF16(const char *bytes, qsizetype length, bool external)
{
    if (length % 2 != 0)
        return std::nullopt;
    bool swap = false;
    if (external && length >= 2) {
        const char16_t first = qFromUnaligned<char16_t>(bytes);
        if (first == 0xFEFF || first == 0xFFFE) {
            swap = first == 0xFFFE;
            bytes += 2;
            length -= 2;
        }
    }
    QString text(length / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t unit = qFromUnaligned<char16_t>(bytes + 2 * i);
        text[i] = QChar(swap ? qbswap(unit) : unit);
    }
    return text;
}

std::optional<QString> decodeLegacy(const char *bytes, qsizetype length, CFStringEncoding encoding)
{
    const char *name = legacyIconvName(encoding);
    if (!name)
        return std::nullopt;
    IconvHandle handle(kHostUTF16, name);
    if (!handle.isValid())
        return std::nullopt;
    std::optional<QByteArray> utf16 = handle.convert(bytes, size_t(length));
    if (!utf16)
        return std::nullopt;
    return decodeUTF16(utf16->constData(), utf16->size(), false);
}

std::optional<QByteArray> encodeLegacy(QStringView text, CFStringEncoding encoding)
{
    const char *name = legacyIconvName(encoding);
    if (!name || hasLoneSurrogate(text))
        return std::nullopt;
    IconvHandle handle(name, kHostUTF16);
    if (!handle.isValid())
        return std::nullopt;
    return handle.convert(reinterpret_cast<const char *>(text.utf16()), size_t(text.size()) * 2);
}

} // namespace

bool CFStringEncodingIsSupported(CFStringEncoding encoding)
{
    switch (encoding) {
    case kCFStringEncodingUTF8:
    case kCFStringEncodingUnicode:
    case kCFStringEncodingASCII:
        return true;
    default:
        return isLegacy(encoding) && legacyIconvName(encoding) != nullptr;
    }
}

std::optional<QString> CFStringEncodingDecode(const char *bytes, qsizetype length,
                                              CFStringEncoding encoding,
                                              bool isExternalRepresentation)
{
    if (length < 0 || (!bytes && length > 0))
        return std::nullopt;
    if (length == 0)
        return CFStringEncodingIsSupported(encoding) ? std::optional<QString>(QString(""))
                                                     : std::nullopt;
    switch (encoding) {
    case kCFStringEncodingUTF8:
        return decodeUTF8(bytes, length, isExternalRepresentation);
    case kCFStringEncodingUnicode:
        return decodeUTF16(bytes, length, isExternalRepresentation);
    case kCFStringEncodingASCII:
        if (!QtPrivate::isAscii(QLatin1StringView(bytes, length)))
            return std::nullopt;
        return QString::fromLatin1(bytes, length);
    default:
        if (!isLegacy(encoding))
            return std::nullopt;
        return decodeLegacy(bytes, length, encoding);
    }
}

std::optional<QByteArray> CFStringEncodingEncode(QStringView text, CFStringEncoding encoding)
{
    switch (encoding) {
    case kCFStringEncodingUTF8:
        if (hasLoneSurrogate(text))
            return std::nullopt;
        return text.toUtf8();
    case kCFStringEncodingUnicode:
        return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    case kCFStringEncodingASCII: {
        QByteArray bytes(text.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].unicode() >= 0x80)
                return std::nullopt;
            bytes[i] = char(text[i].unicode());
        }
        return bytes;
    }
    default:
        if (!isLegacy(encoding))
            return std::nullopt;
        if (text.isEmpty())
            return legacyIconvName(encoding) ? std::optional<QByteArray>(QByteArray(""))
                                             : std::nullopt;
        return encodeLegacy(text, encoding);
    }
}

qsizetype CFStringEncodingMaxBytesPerUnit(CFStringEncoding encoding)
{
    switch (encoding) {
    case kCFStringEncodingUTF8:
        return 3; // a surrogate pair (two units) takes four bytes
    case kCFStringEncodingUnicode:
    case kCFStringEncodingMacJapanese:
        return 2;
    case kCFStringEncodingASCII:
    case kCFStringEncodingISOLatin1:
    case kCFStringEncodingWindowsLatin1:
    case kCFStringEncodingMacRoman:
        return 1;
    default:
        return 0;
    }
}

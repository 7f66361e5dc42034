// Reading and writing the preference files, and keeping damaged ones aside.
#include "PreferenceFileFormat.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kHeader[] = "veltra-pde preferences 1";
constexpr char16_t kKeyPrefix = u'k';
constexpr char16_t kKeyEscape = u'~';

constexpr char kTypeString[] = "string";
constexpr char kTypeInteger[] = "integer";
constexpr char kTypeReal[] = "real";
constexpr char kTypeBoolean[] = "boolean";
constexpr char kTypeData[] = "data";

bool isKeySafe(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'.' || c == u'_' || c == u'-';
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Four hexadecimal digits at text[pos], or -1.
int hex4(QStringView text, qsizetype pos)
{
    if (pos + 4 > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = pos; i < pos + 4; ++i) {
        const int digit = hexDigit(text[i].unicode());
        if (digit < 0)
            return -1;
        value = value << 4 | digit;
    }
    return value;
}

// Escapes a key or string value for one line of the file.
QString escapeText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append(text[i]);
            out.append(text[++i]);
        } else if (c == u'\\') {
            out.append(u"\\\\");
        } else if (c == u'=') {
            out.append(u"\\=");
        } else if (c == u'\n') {
            out.append(u"\\n");
        } else if (c == u'\r') {
            out.append(u"\\r");
        } else if (c == u'\t') {
            out.append(u"\\t");
        } else if (c < 0x20 || c == 0x7f || QChar::isSurrogate(c)) {
            out.append(QString::asprintf("\\u%04X", unsigned(c)));
        } else {
            out.append(QChar(c));
        }
    }
    return out;
}

// Unescapes text[from, to); nothing for a bad escape.
std::optional<QString> unescapeText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\') {
            out.append(c);
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case u'\\':
            out.append(u'\\');
            break;
        case u'=':
            out.append(u'=');
            break;
        case u'n':
            out.append(u'\n');
            break;
        case u'r':
            out.append(u'\r');
            break;
        case u't':
            out.append(u'\t');
            break;
        case u'u': {
            const int unit = hex4(text, i + 1);
            if (unit < 0)
                return std::nullopt;
            out.append(QChar(char16_t(unit)));
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

// Position of the first "=" that is not escaped, or -1.
qsizetype separatorOf(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\\')
            ++i;
        else if (line[i] == u'=')
            return i;
    }
    return -1;
}

std::optional<QVariant> parseValue(QStringView type, QStringView text, QString *problem)
{
    if (type == QLatin1StringView(kTypeString)) {
        std::optional<QString> value = unescapeText(text);
        if (!value) {
            *problem = QStringLiteral("bad escape in the value");
            return std::nullopt;
        }
        return QVariant(*value);
    }
    if (type == QLatin1StringView(kTypeInteger)) {
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok);
        if (!ok) {
            *problem = QStringLiteral("bad integer");
            return std::nullopt;
        }
        return QVariant(value);
    }
    if (type == QLatin1StringView(kTypeReal)) {
        if (text == u"nan")
            return QVariant(std::numeric_limits<double>::quiet_NaN());
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok) {
            *problem = QStringLiteral("bad real number");
            return std::nullopt;
        }
        return QVariant(value);
    }
    if (type == QLatin1StringView(kTypeBoolean)) {
        if (text == u"true" || text == u"false")
            return QVariant(text == u"true");
        *problem = QStringLiteral("bad boolean");
        return std::nullopt;
    }
    if (type == QLatin1StringView(kTypeData)) {
        const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
            text.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            *problem = QStringLiteral("bad Base64 data");
            return std::nullopt;
        }
        return QVariant(decoded.decoded);
    }
    *problem = QStringLiteral("unknown value type \"%1\"").arg(type);
    return std::nullopt;
}

std::optional<QString> formatValue(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return QLatin1StringView(kTypeString) + u':' + escapeText(value.toString());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QLatin1StringView(kTypeInteger) + u':' + QString::number(value.toLongLong());
    case QMetaType::Double: {
        const double real = value.toDouble();
        return QLatin1StringView(kTypeReal) + u':' +
               (std::isnan(real) ? QStringLiteral("nan")
                                 : QString::number(real, 'g', QLocale::FloatingPointShortest));
    }
    case QMetaType::Bool:
        return QLatin1StringView(kTypeBoolean) + u':' +
               (value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    case QMetaType::QByteArray:
        return QLatin1StringView(kTypeData) + u':' +
               QString::fromLatin1(value.toByteArray().toBase64());
    default:
        return std::nullopt;
    }
}

// Moves the damaged file at path aside and puts an empty file of the same mode in its place, so
// that nothing is lost and the next save keeps the file's permissions. openFd is the descriptor
// the damaged bytes were read from: when path no longer names that file, another process has
// already dealt with it.
void setDamagedFileAside(const QString &path, int openFd, const QString &reason)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat opened = {};
    struct stat current = {};
    if (openFd >= 0 && fstat(openFd, &opened) == 0) {
        if (stat(nativePath.constData(), &current) != 0 || current.st_ino != opened.st_ino ||
            current.st_dev != opened.st_dev)
            return;
    } else if (stat(nativePath.constData(), &current) != 0) {
        return;
    }

    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 1; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);

    if (::rename(nativePath.constData(), QFile::encodeName(aside).constData()) != 0) {
        std::fprintf(stderr,
                     "veltra-pde: preferences file %s is damaged (%s) and could not be kept aside "
                     "(%s); reading it as empty\n",
                     nativePath.constData(), reason.toLocal8Bit().constData(),
                     std::strerror(errno));
        return;
    }
    std::fprintf(stderr,
                 "veltra-pde: preferences file %s is damaged (%s); kept as %s, starting empty\n",
                 nativePath.constData(), reason.toLocal8Bit().constData(),
                 QFile::encodeName(aside).constData());
    const int fd = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          current.st_mode & 0666);
    if (fd >= 0)
        ::close(fd);
}

bool readPreferenceFile(QIODevice &device, QSettings::SettingsMap &map)
{
    const QByteArray bytes = device.readAll();
    QString reason;
    std::optional<QSettings::SettingsMap> entries = PreferenceFileParse(bytes, &reason);
    if (entries) {
        map = std::move(*entries);
        return true;
    }
    // A damaged store reads as empty rather than failing: QSettings would otherwise write the
    // pending values over it.
    if (auto *file = qobject_cast<QFileDevice *>(&device))
        setDamagedFileAside(file->fileName(), file->handle(), reason);
    map.clear();
    return true;
}

bool writePreferenceFile(QIODevice &device, const QSettings::SettingsMap &map)
{
    const std::optional<QByteArray> bytes = PreferenceFileSerialize(map);
    if (!bytes || device.write(*bytes) != bytes->size())
        return false;
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (!file)
        return true;
    if (!file->flush())
        return false;
    // QSettings notices changes by size and modification time (in milliseconds); two saves in
    // the same clock tick with the same size would look alike and the second writer would not
    // reread the first one's values. Every save therefore gets a time strictly after the one of
    // the file it replaces (the caller holds the store's lock).
    const QFileInfo previous(file->fileName());
    qint64 stamp = QDateTime::currentMSecsSinceEpoch();
    if (previous.exists())
        stamp = std::max(stamp, previous.lastModified().toMSecsSinceEpoch() + 1);
    file->setFileTime(QDateTime::fromMSecsSinceEpoch(stamp, Qt::UTC),
                      QFileDevice::FileModificationTime);
    return true;
}

} // namespace

QSettings::Format PreferenceFileFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(
        QStringLiteral("conf"), readPreferenceFile, writePreferenceFile, Qt::CaseSensitive);
    return format;
}

QString PreferenceKeyEscape(const QString &key)
{
    QString escaped(1, QChar(kKeyPrefix));
    escaped.reserve(key.size() + 1);
    for (const QChar c : key) {
        if (isKeySafe(c.unicode()))
            escaped.append(c);
        else
            escaped.append(QChar(kKeyEscape) + QString::asprintf("%04X", unsigned(c.unicode())));
    }
    return escaped;
}

std::optional<QString> PreferenceKeyUnescape(const QString &escaped)
{
    if (escaped.isEmpty() || escaped[0] != QChar(kKeyPrefix))
        return std::nullopt;
    QString key;
    key.reserve(escaped.size() - 1);
    for (qsizetype i = 1; i < escaped.size(); ++i) {
        const char16_t c = escaped[i].unicode();
        if (c == kKeyEscape) {
            const int unit = hex4(escaped, i + 1);
            if (unit < 0)
                return std::nullopt;
            key.append(QChar(char16_t(unit)));
            i += 4;
        } else if (isKeySafe(c)) {
            key.append(QChar(c));
        } else {
            return std::nullopt;
        }
    }
    return key;
}

std::optional<QByteArray> PreferenceFileSerialize(const QSettings::SettingsMap &map)
{
    QString text = QLatin1StringView(kHeader) + u'\n';
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const std::optional<QString> key = PreferenceKeyUnescape(it.key());
        const std::optional<QString> value = formatValue(it.value());
        if (!key || !value) {
            std::fprintf(stderr, "veltra-pde: preference %s has a value that cannot be saved\n",
                         it.key().toLocal8Bit().constData());
            return std::nullopt;
        }
        text += escapeText(*key) + u'=' + *value + u'\n';
    }
    // Every lone surrogate is escaped, so the conversion is exact.
    return text.toUtf8();
}

std::optional<QSettings::SettingsMap> PreferenceFileParse(const QByteArray &bytes, QString *reason)
{
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return fail(QStringLiteral("not UTF-8 text"));
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    if (lines.isEmpty() || lines.first() != QLatin1StringView(kHeader))
        return fail(QStringLiteral("no \"%1\" header").arg(QLatin1StringView(kHeader)));

    QSettings::SettingsMap map;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QStringView line = lines[n];
        if (line.isEmpty())
            continue;
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        const qsizetype equals = separatorOf(line);
        if (equals < 0)
            return fail(where + QStringLiteral("no \"=\" after the key"));
        const qsizetype colon = line.indexOf(u':', equals + 1);
        if (colon < 0)
            return fail(where + QStringLiteral("no value type"));
        const std::optional<QString> key = unescapeText(line.first(equals));
        if (!key)
            return fail(where + QStringLiteral("bad escape in the key"));
        QString problem;
        std::optional<QVariant> value = parseValue(line.sliced(equals + 1, colon - equals - 1),
                                                   line.sliced(colon + 1), &problem);
        if (!value)
            return fail(where + problem);
        map.insert(PreferenceKeyEscape(*key), std::move(*value));
    }
    return map;
}

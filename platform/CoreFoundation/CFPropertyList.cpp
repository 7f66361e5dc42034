// Reading XML property lists into CF dictionaries, arrays, strings and numbers.
#include "CFPropertyList.h"

#include "CFArray.h"
#include "CFData.h"
#include "CFDictionary.h"
#include "CFNumber.h"
#include "CFQt.h"
#include "CFRef.h"
#include "UTF8Text.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace veltra {

namespace {

// Deeper nesting than any Info.plist needs; it keeps hostile files from exhausting the stack.
constexpr int kMaxNesting = 128;

class PlistReader
{
public:
    explicit PlistReader(const QByteArray &xml) : m_xml(xml) {}

    CFRef<CFTypeRef> read(std::string *error)
    {
        CFRef<CFTypeRef> result;
        if (!nextElementAtTop() || m_xml.name() != u"plist") {
            fail("the document is not a property list (no <plist> element)");
        } else if (!nextChild()) {
            fail("<plist> holds no value");
        } else {
            result = readValue(0);
            if (!m_failed && nextChild())
                fail("<plist> holds more than one value");
        }
        // Read to the end so that damage after the value is noticed too.
        while (!m_failed && !m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement())
                fail("unexpected element <" + m_xml.name().toString() + "> after </plist>");
        }
        if (!m_failed && m_xml.hasError())
            fail(m_xml.errorString());
        if (m_failed) {
            if (error)
                *error = m_message;
            return {};
        }
        return result;
    }

private:
    void fail(const QString &reason)
    {
        if (m_failed)
            return;
        m_failed = true;
        // The reader's own error wins: it says what is wrong with the XML itself.
        const QString text = m_xml.hasError() ? m_xml.errorString() : reason;
        m_message = "line " + std::to_string(m_xml.lineNumber()) + ": " + text.toStdString();
    }

    bool nextElementAtTop()
    {
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement())
                return true;
            if (m_xml.isCharacters() && !m_xml.isWhitespace()) {
                fail("text outside the <plist> element");
                return false;
            }
        }
        return false;
    }

    // Moves to the next child element of the current element: false at its end tag (or on
    // an error). Text between elements must be white space.
    bool nextChild()
    {
        while (!m_failed && !m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::EndElement:
                return false;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace()) {
                    fail("unexpected text \"" + m_xml.text().toString().trimmed().left(40) + "\"");
                    return false;
                }
                break;
            case QXmlStreamReader::Invalid:
                fail(m_xml.errorString());
                return false;
            default:
                break;
            }
        }
        if (m_xml.hasError())
            fail(m_xml.errorString());
        return false;
    }

    // Text content of a leaf element; fails on child elements and on entities the reader
    // could not resolve.
    bool leafText(QString *text)
    {
        text->clear();
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::Characters:
                text->append(m_xml.text());
                break;
            case QXmlStreamReader::EndElement:
                return true;
            case QXmlStreamReader::EntityReference:
                fail("unknown entity &" + m_xml.name().toString() + ";");
                return false;
            case QXmlStreamReader::StartElement:
                fail("unexpected element <" + m_xml.name().toString() + "> inside a value");
                return false;
            case QXmlStreamReader::Invalid:
                fail(m_xml.errorString());
                return false;
            default:
                break;
            }
        }
        fail(m_xml.hasError() ? m_xml.errorString() : QStringLiteral("unexpected end of text"));
        return false;
    }

    CFRef<CFTypeRef> readValue(int depth)
    {
        if (depth > kMaxNesting) {
            fail("values are nested too deeply");
            return {};
        }
        const QString name = m_xml.name().toString();
        if (name == u"dict")
            return readDict(depth);
        if (name == u"array")
            return readArray(depth);

        QString text;
        if (!leafText(&text))
            return {};
        if (name == u"string" || name == u"date")
            return CFRef<CFTypeRef>(CFStringCreateWithQString(text));
        if (name == u"integer")
            return readInteger(text.trimmed());
        if (name == u"real") {
            bool ok = false;
            const double value = text.trimmed().toDouble(&ok);
            if (!ok) {
                fail("<real> holds \"" + text.left(40) + "\", not a number");
                return {};
            }
            return CFRef<CFTypeRef>(CFNumberCreate(nullptr, kCFNumberFloat64Type, &value));
        }
        if (name == u"true" || name == u"false") {
            if (!text.trimmed().isEmpty()) {
                fail("<" + name + "> must be empty");
                return {};
            }
            return CFRef<CFTypeRef>::retain(name == u"true" ? kCFBooleanTrue : kCFBooleanFalse);
        }
        if (name == u"data")
            return readData(text);
        fail("unknown element <" + name + ">");
        return {};
    }

    CFRef<CFTypeRef> readInteger(const QString &text)
    {
        bool ok = false;
        qlonglong value = 0;
        if (text.startsWith(u"0x", Qt::CaseInsensitive))
            value = text.mid(2).toLongLong(&ok, 16);
        else if (text.startsWith(u"-0x", Qt::CaseInsensitive))
            value = -text.mid(3).toLongLong(&ok, 16);
        else
            value = text.toLongLong(&ok, 10);
        if (!ok) {
            fail("<integer> holds \"" + text.left(40) + "\", not a 64-bit integer");
            return {};
        }
        const SInt64 number = value;
        return CFRef<CFTypeRef>(CFNumberCreate(nullptr, kCFNumberSInt64Type, &number));
    }

    CFRef<CFTypeRef> readData(const QString &text)
    {
        QByteArray base64 = text.toLatin1();
        base64.erase(
            std::remove_if(base64.begin(), base64.end(),
                           [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }),
            base64.end());
        const auto decoded =
            QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            fail("<data> is not valid Base64");
            return {};
        }
        const QByteArray &bytes = *decoded;
        return CFRef<CFTypeRef>(CFDataCreate(
            nullptr, reinterpret_cast<const UInt8 *>(bytes.constData()), bytes.size()));
    }

    CFRef<CFTypeRef> readArray(int depth)
    {
        CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
        while (nextChild()) {
            CFRef<CFTypeRef> value = readValue(depth + 1);
            if (!value)
                return {};
            CFArrayAppendValue(array, value.get());
        }
        if (m_failed)
            return {};
        return CFRef<CFTypeRef>(array.release());
    }

    CFRef<CFTypeRef> readDict(int depth)
    {
        CFRef<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
            nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
        while (nextChild()) {
            if (m_xml.name() != u"key") {
                fail("<dict> holds <" + m_xml.name().toString() + "> where a <key> belongs");
                return {};
            }
            QString keyText;
            if (!leafText(&keyText))
                return {};
            if (!nextChild()) {
                fail("the key \"" + keyText.left(60) + "\" has no value");
                return {};
            }
            if (m_xml.name() == u"key") {
                fail("the key \"" + keyText.left(60) + "\" has no value");
                return {};
            }
            CFRef<CFTypeRef> value = readValue(depth + 1);
            if (!value)
                return {};
            CFRef<CFStringRef> key(CFStringCreateWithQString(keyText));
            CFDictionarySetValue(dict, key.get(), value.get());
        }
        if (m_failed)
            return {};
        return CFRef<CFTypeRef>(dict.release());
    }

    QXmlStreamReader m_xml;
    bool m_failed = false;
    std::string m_message;
};

// The encoding named in the XML declaration, lower case; empty when there is none.
QByteArray declaredEncoding(const QByteArray &xml)
{
    if (!xml.startsWith("<?xml"))
        return {};
    const qsizetype end = xml.indexOf("?>");
    if (end < 0)
        return {};
    static const QRegularExpression encoding(QStringLiteral(R"(encoding\s*=\s*["']([^"']*)["'])"));
    const auto match = encoding.match(QString::fromLatin1(xml.left(end)));
    return match.hasMatch() ? match.captured(1).toLower().toLatin1() : QByteArray();
}

} // namespace

CFPropertyListRef CreatePropertyListFromXMLData(const char *bytes, std::size_t length,
                                                std::string *error)
{
    if (!bytes) {
        if (error)
            *error = "no property list text";
        return nullptr;
    }
    const QByteArray xml = QByteArray::fromRawData(bytes, qsizetype(length));
    // The XML reader would quietly replace bad bytes; a property list with them is damaged.
    const QByteArray encoding = declaredEncoding(xml);
    if (encoding.isEmpty() || encoding == "utf-8" || encoding == "utf8") {
        const std::size_t bad = FindInvalidUTF8(bytes, length);
        if (bad != length) {
            if (error) {
                const auto line = 1 + std::count(bytes, bytes + bad, '\n');
                *error = "line " + std::to_string(line) + ": the text is not valid UTF-8";
            }
            return nullptr;
        }
    }
    PlistReader reader(xml);
    return reader.read(error).release();
}

CFPropertyListRef CreatePropertyListFromXMLFile(const std::string &path, std::string *error)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + ": " + file.errorString().toStdString();
        return nullptr;
    }
    const QByteArray xml = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = path + ": " + file.errorString().toStdString();
        return nullptr;
    }
    std::string reason;
    CFPropertyListRef plist = CreatePropertyListFromXMLData(xml.constData(), xml.size(), &reason);
    if (!plist && error)
        *error = path + ": " + reason;
    return plist;
}

} // namespace veltra

// CFURL: file-system locations (POSIX paths) of bundles and their resources.
#include "CFURL.h"

#include "CFInternal.h"

#include <QDir>
#include <QFile>
#include <QHashFunctions>

#include <cstring>

bool __CFURL::equals(const __CFRuntimeBase &other) const
{
    const __CFURL &that = static_cast<const __CFURL &>(other);
    return path == that.path && isDirectory == that.isDirectory;
}

CFHashCode __CFURL::hash() const
{
    return CFHashCode(qHash(path));
}

CFTypeID CFURLGetTypeID()
{
    return kCFRuntimeURLTypeID;
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef path, CFURLPathStyle style,
                                       Boolean isDirectory)
{
    const QString text = CFRuntimeStringText(path);
    if (text.isEmpty() || style != kCFURLPOSIXPathStyle)
        return nullptr;
    // A relative path is taken against the current directory, as the file system would.
    return CFRuntimeCreate<__CFURL>(QDir::cleanPath(QDir::current().absoluteFilePath(text)),
                                    isDirectory != 0);
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle style)
{
    const __CFURL *u = CFRuntimeCast<__CFURL>(url);
    if (!u || style != kCFURLPOSIXPathStyle)
        return nullptr;
    return CFRuntimeCreateString(u->path);
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8 *buffer, CFIndex maxBufLen)
{
    const __CFURL *u = CFRuntimeCast<__CFURL>(url);
    if (!u || !buffer || maxBufLen <= 0)
        return false;
    // In the encoding of file names (UTF-8 on this system).
    const QByteArray bytes = QFile::encodeName(u->path);
    if (bytes.size() >= maxBufLen) {
        buffer[0] = 0;
        return false;
    }
    std::memcpy(buffer, bytes.constData(), size_t(bytes.size()));
    buffer[bytes.size()] = 0;
    return true;
}

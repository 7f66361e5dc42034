// Bridge between CFString and QString.
#include "CFQt.h"

#include "CFInternal.h"

QString QStringFromCF(CFStringRef str)
{
    return CFRuntimeStringText(str);
}

CFStringRef CFStringCreateWithQString(const QString &text)
{
    return CFRuntimeCreateString(text);
}

// Bridge between CF-style strings and Qt, for the platform layer and the host only.
#pragma once

#include "CFBase.h"

#include <QString>

QString QStringFromCF(CFStringRef str);
// A new CFString holding text (caller releases).
CFStringRef CFStringCreateWithQString(const QString &text);

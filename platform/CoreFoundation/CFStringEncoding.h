// Conversions between UTF-16 text and the byte encodings of CFString (private to this folder).
#pragma once

#include "CFBase.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// Whether conversions in both directions exist for this encoding on this system.
bool CFStringEncodingIsSupported(CFStringEncoding encoding);

// The text of bytes, or nothing when they are not valid in the encoding (never a lossy text).
// With external representation a byte-order mark is honoured and removed.
std::optional<QString> CFStringEncodingDecode(const char *bytes, qsizetype length,
                                              CFStringEncoding encoding,
                                              bool isExternalRepresentation = false);

// The bytes of text, or nothing when some character cannot be represented (lone surrogates
// cannot be represented in any encoding but Unicode).
std::optional<QByteArray> CFStringEncodingEncode(QStringView text, CFStringEncoding encoding);

// Most bytes one UTF-16 unit may need in the encoding; 0 for an unknown encoding.
qsizetype CFStringEncodingMaxBytesPerUnit(CFStringEncoding encoding);

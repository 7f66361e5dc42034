// The file format of the preference stores, registered with QSettings (private to this folder).
//
//   veltra-pde preferences 1
//   <key>=<type>:<value>
//
// one entry a line, in UTF-8. Type is string, integer, real, boolean or data (Base64). In keys and
// string values a backslash, "=", control characters and lone surrogates are escaped ("\\", "\=",
// "\n", "\r", "\t", "\uXXXX"), so every UTF-16 text survives unchanged. A file that does not
// parse is renamed to <file>.damaged-YYYYmmdd-HHMMSS (with a warning on stderr) and reads as empty.
#pragma once

#include <QSettings>
#include <QString>

#include <optional>

// The registered format (registered on first use).
QSettings::Format PreferenceFileFormat();

// QSettings normalises "/" in keys ("a//b" becomes "a/b"), so keys enter it escaped: a text of
// letters, digits, ".", "_", "-" and "~XXXX" for every other UTF-16 unit, never empty.
QString PreferenceKeyEscape(const QString &key);
std::optional<QString> PreferenceKeyUnescape(const QString &escaped);

// The file's bytes for a map of escaped keys, or nothing when a value has an unsupported type.
std::optional<QByteArray> PreferenceFileSerialize(const QSettings::SettingsMap &map);
// The entries (under escaped keys) of a file's bytes; nothing, with the reason, when damaged.
std::optional<QSettings::SettingsMap> PreferenceFileParse(const QByteArray &bytes, QString *reason);

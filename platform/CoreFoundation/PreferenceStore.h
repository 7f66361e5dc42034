// One preferences store: a file of keyed values, read and saved through QSettings (private to
// this folder).
#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>

class PreferenceStore
{
public:
    enum class Sharing
    {
        PrivateToUser, // created mode 0600 in a directory of mode 0700
        AllUsers,      // readable by everyone, writable by administrators
    };

    PreferenceStore(QString path, Sharing sharing);
    ~PreferenceStore();
    PreferenceStore(const PreferenceStore &) = delete;
    PreferenceStore &operator=(const PreferenceStore &) = delete;

    const QString &path() const { return m_path; }

    // A pending change until synchronize(); nothing removes the key.
    void setValue(const QString &key, std::optional<QVariant> value);
    // The pending value, else the value read at the last synchronisation.
    std::optional<QVariant> value(const QString &key);
    // Saves pending changes (merged with what others saved meanwhile) and rereads the file.
    // False when they cannot be saved; they stay pending then.
    bool synchronize();
    // Whether synchronize() could save the pending changes now (reported once when not);
    // values equal to the saved ones are no longer pending.
    bool canSave();

private:
    QSettings &reader();
    // Why the file cannot be written now, or nothing when it can.
    std::optional<QString> whyNotWritable() const;
    bool ensureFileExists() const;
    void removeStaleLock() const;
    void reportSaveFailure(const QString &why);
    void reportIfUnreadable();
    void dropUnchangedValues();

    const QString m_path;
    const Sharing m_sharing;
    std::unique_ptr<QSettings> m_reader;
    // Keys as given (not escaped); nothing = remove.
    std::map<QString, std::optional<QVariant>> m_pending;
    bool m_reportedSaveFailure = false;
    bool m_reportedUnreadable = false;
};

// A preferences store on a QSettings file.
//
// Saving: QSettings takes <file>.lock, rereads the file when another process changed it, merges
// our pending changes into it and replaces it atomically (QSaveFile: a temporary file renamed
// over it), so neither concurrent writers nor a writer killed half-way lose anything.
#include "PreferenceStore.h"

#include "PreferenceFileFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A lock older than this is taken for one left behind (a save takes milliseconds); a lock
// whose owner is dead is recognised at once.
constexpr std::chrono::milliseconds kStaleLockTime{2000};
constexpr std::chrono::milliseconds kStaleLockWait{2500};

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

PreferenceStore::PreferenceStore(QString path, Sharing sharing)
    : m_path(QFileInfo(path).absoluteFilePath()), m_sharing(sharing)
{}

PreferenceStore::~PreferenceStore() = default;

QSettings &PreferenceStore::reader()
{
    if (!m_reader) {
        m_reader = std::make_unique<QSettings>(m_path, PreferenceFileFormat());
        reportIfUnreadable();
    }
    return *m_reader;
}

void PreferenceStore::reportIfUnreadable()
{
    // QSettings reads a file it cannot open as empty; say so once.
    const QByteArray path = native(m_path);
    if (m_reportedUnreadable || ::access(path.constData(), F_OK) != 0 ||
        ::access(path.constData(), R_OK) == 0)
        return;
    m_reportedUnreadable = true;
    std::fprintf(stderr,
                 "veltra-pde: preferences file %s cannot be read (%s); reading it as empty\n",
                 path.constData(), std::strerror(errno));
}

void PreferenceStore::setValue(const QString &key, std::optional<QVariant> value)
{
    m_pending[key] = std::move(value);
}

std::optional<QVariant> PreferenceStore::value(const QString &key)
{
    if (auto pending = m_pending.find(key); pending != m_pending.end())
        return pending->second;
    QVariant stored = reader().value(PreferenceKeyEscape(key));
    if (!stored.isValid())
        return std::nullopt;
    return stored;
}

std::optional<QString> PreferenceStore::whyNotWritable() const
{
    const QFileInfo file(m_path);
    const QString directory = file.absolutePath();
    if (!QFileInfo::exists(directory)) {
        if (!QDir().mkpath(QFileInfo(directory).absolutePath()))
            return QStringLiteral("cannot create directory %1").arg(directory);
        // The directory of a private store holds its temporary and lock files: owner only.
        const mode_t mode = m_sharing == Sharing::PrivateToUser ? 0700 : 0755;
        if (::mkdir(native(directory).constData(), mode) != 0 && errno != EEXIST)
            return QStringLiteral("cannot create directory %1: %2")
                .arg(directory, QString::fromLocal8Bit(std::strerror(errno)));
    }
    // A save writes a new file next to the old one and renames it over it.
    if (::access(native(directory).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("directory %1 is not writable: %2")
            .arg(directory, QString::fromLocal8Bit(std::strerror(errno)));
    if (file.exists() && ::access(native(m_path).constData(), W_OK) != 0)
        return QStringLiteral("the file is not writable: %1")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return std::nullopt;
}

bool PreferenceStore::ensureFileExists() const
{
    // A private store is created empty with mode 0600 before QSettings first writes it: the
    // replacement file then takes that mode and is never readable by others, not even briefly.
    if (m_sharing != Sharing::PrivateToUser)
        return true;
    const int fd =
        ::open(native(m_path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EEXIST;
}

void PreferenceStore::removeStaleLock() const
{
    // QSettings waits for <file>.lock without a limit and takes a lock as stale only after
    // 30 seconds, or at once when the process named in it is dead. A writer killed while
    // creating the lock leaves it empty (no process named), and one from another computer
    // cannot be checked: taking and dropping the lock here with a short stale time clears
    // those quickly. A lock still held (flock) by a live process is never broken.
    const QString lockPath = m_path + QStringLiteral(".lock");
    if (!QFileInfo::exists(lockPath))
        return;
    QLockFile probe(lockPath);
    probe.setStaleLockTime(kStaleLockTime);
    if (probe.tryLock(kStaleLockWait))
        probe.unlock();
}

void PreferenceStore::reportSaveFailure(const QString &why)
{
    if (m_reportedSaveFailure)
        return;
    m_reportedSaveFailure = true;
    const char *advice = m_sharing == Sharing::AllUsers
                             ? "; only an administrator can change the settings of all users"
                             : "";
    std::fprintf(stderr, "veltra-pde: cannot save preferences to %s (%s)%s\n",
                 native(m_path).constData(), why.toLocal8Bit().constData(), advice);
}

bool PreferenceStore::canSave()
{
    if (!m_pending.empty())
        dropUnchangedValues();
    if (m_pending.empty())
        return true;
    if (const std::optional<QString> why = whyNotWritable()) {
        reportSaveFailure(*why);
        return false;
    }
    return true;
}

void PreferenceStore::dropUnchangedValues()
{
    // Rereads the file first when another process changed it, so a value is only taken as
    // unchanged against what is saved now.
    QSettings &current = reader();
    current.sync();
    for (auto entry = m_pending.begin(); entry != m_pending.end();) {
        const QVariant saved = current.value(PreferenceKeyEscape(entry->first));
        const bool unchanged =
            entry->second ? saved.isValid() && saved == *entry->second : !saved.isValid();
        entry = unchanged ? m_pending.erase(entry) : std::next(entry);
    }
}

bool PreferenceStore::synchronize()
{
    bool saved = true;
    // A pane writes every value at each Print; the file is only rewritten (and flushed to
    // disk) when one of them differs from what it holds.
    if (!m_pending.empty())
        dropUnchangedValues();
    if (!m_pending.empty()) {
        if (const std::optional<QString> why = whyNotWritable()) {
            reportSaveFailure(*why);
            saved = false;
        } else if (!ensureFileExists()) {
            reportSaveFailure(QString::fromLocal8Bit(std::strerror(errno)));
            saved = false;
        } else {
            removeStaleLock();
            // A QSettings keeps the first error it meets for its whole life, so each save gets
            // its own; it shares the file's cached contents with the reader.
            reader();
            QSettings writer(m_path, PreferenceFileFormat());
            for (const auto &[key, value] : m_pending) {
                if (value)
                    writer.setValue(PreferenceKeyEscape(key), *value);
                else
                    writer.remove(PreferenceKeyEscape(key));
            }
            writer.sync();
            if (writer.status() == QSettings::NoError) {
                m_pending.clear();
                m_reportedSaveFailure = false;
            } else {
                reportSaveFailure(writer.status() == QSettings::AccessError
                                      ? QStringLiteral("the file cannot be read or written")
                                      : QStringLiteral("the file cannot be saved"));
                saved = false;
            }
        }
    }
    // Pick up what other processes saved.
    reader().sync();
    reportIfUnreadable();
    return saved;
}

// Shared helpers of the preference tests: stores in a temporary directory, string values,
// stderr capture and child processes.
#pragma once

#include "CoreFoundation/CFPreferences.h"
#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/CFRef.h"
#include "CoreFoundation/CFString.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <sys/wait.h>
#include <unistd.h>

enum class Scope
{
    CurrentUser,
    AnyUser
};

inline void PrintTo(Scope scope, std::ostream *out)
{
    *out << (scope == Scope::CurrentUser ? "CurrentUser" : "AnyUser");
}

inline CFStringRef userOf(Scope scope)
{
    return scope == Scope::CurrentUser ? kCFPreferencesCurrentUser : kCFPreferencesAnyUser;
}

inline const char *nameOf(Scope scope)
{
    return scope == Scope::CurrentUser ? "current user" : "any user";
}

inline void setString(const QString &key, const QString &value, Scope scope)
{
    CFRef<CFStringRef> cfKey(CFStringCreateWithQString(key));
    CFRef<CFStringRef> cfValue(CFStringCreateWithQString(value));
    CFPreferencesSetValue(cfKey, cfValue, kCFPreferencesAnyApplication, userOf(scope),
                          kCFPreferencesCurrentHost);
}

inline void removeKey(const QString &key, Scope scope)
{
    CFRef<CFStringRef> cfKey(CFStringCreateWithQString(key));
    CFPreferencesSetValue(cfKey, nullptr, kCFPreferencesAnyApplication, userOf(scope),
                          kCFPreferencesCurrentHost);
}

// The stored string, or nothing when the key is absent (or holds another type).
inline std::optional<QString> copyString(const QString &key, Scope scope)
{
    CFRef<CFStringRef> cfKey(CFStringCreateWithQString(key));
    CFRef<CFPropertyListRef> value(CFPreferencesCopyValue(
        cfKey, kCFPreferencesAnyApplication, userOf(scope), kCFPreferencesCurrentHost));
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return std::nullopt;
    return QStringFromCF(static_cast<CFStringRef>(value.get()));
}

inline bool synchronize(Scope scope)
{
    return CFPreferencesSynchronize(kCFPreferencesAnyApplication, userOf(scope),
                                    kCFPreferencesCurrentHost);
}

// Two stores in a fresh temporary directory, made current on construction.
class TemporaryStores
{
public:
    TemporaryStores()
        : m_currentUser(m_dir.filePath(QStringLiteral("home/veltra-pde/preferences.conf"))),
          m_anyUser(m_dir.filePath(QStringLiteral("etc/veltra-pde/preferences.conf")))
    {
        reopen();
    }
    ~TemporaryStores() { VeltraPreferencesSetStoreFiles(nullptr, nullptr); }

    // Points the stores at the files again: cached state is dropped and the files are reread,
    // as in a new process.
    void reopen() const
    {
        VeltraPreferencesSetStoreFiles(QFile::encodeName(m_currentUser).constData(),
                                       QFile::encodeName(m_anyUser).constData());
    }

    const QString &file(Scope scope) const
    {
        return scope == Scope::CurrentUser ? m_currentUser : m_anyUser;
    }
    QString directory() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_currentUser;
    QString m_anyUser;
};

// Collects what is written to stderr (file descriptor 2) while it lives.
class StderrCapture
{
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_file = std::tmpfile();
        m_saved = dup(STDERR_FILENO);
        dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StderrCapture()
    {
        restore();
        std::fclose(m_file);
    }
    // Everything captured so far; stderr goes back to where it was.
    QString text()
    {
        restore();
        QByteArray bytes;
        std::rewind(m_file);
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            bytes.append(buffer, qsizetype(n));
        return QString::fromLocal8Bit(bytes);
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }
    std::FILE *m_file = nullptr;
    int m_saved = -1;
};

// Runs work in a forked child, which ends with work's answer as its exit status. The child
// only makes plain preference calls and leaves with _exit.
inline pid_t startChild(const std::function<int()> &work)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        _exit(work());
    return pid;
}

// The child's exit status, or -1 when it did not exit normally.
inline int waitForChild(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

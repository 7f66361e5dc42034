// RUN_IN_USER_NAMESPACE() runs the rest of a test again, alone, in a child process inside a
// throw-away mount namespace (unshare) whose /etc/passwd and /etc/group are bind mounts of files
// in a temporary directory, so the administrators check reads a group database of the test's
// choosing; the machine's own files are never touched. Skipped, with the reason, where no
// private namespace can be made (no root, no unshare, a chroot).
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

namespace usernamespace {

// Inside the namespace: the directory whose passwd and group files are mounted over /etc.
inline const char kDirectoryVariable[] = "VELTRA_TEST_USER_DATABASE_DIR";

// True inside the namespace: run the test's body. Otherwise the child ran it and reported its
// failures, or *why says why it cannot run.
inline bool Enter(std::string *why)
{
    if (qEnvironmentVariableIsSet(kDirectoryVariable))
        return true;
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty()) {
        *why = "unshare (util-linux) is not installed";
        return false;
    }
    QTemporaryDir dir;
    QFile passwd(dir.filePath("passwd")), group(dir.filePath("group"));
    passwd.open(QIODevice::WriteOnly), group.open(QIODevice::WriteOnly);
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kDirectoryVariable, dir.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    // Exit 77: the bind mounts failed.
    child.start(
        unshare,
        {"--mount", "--", "/bin/sh", "-c",
         "mount --bind \"$1/passwd\" /etc/passwd && "
         "mount --bind \"$1/group\" /etc/group || exit 77; exec \"$2\" \"$3\"",
         "sh", dir.path(), QCoreApplication::applicationFilePath(),
         QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        ADD_FAILURE() << "the test did not finish inside the namespace";
        return false;
    }
    const QByteArray output = child.readAll();
    if (child.exitCode() == 77) {
        *why = "bind mounts over /etc/passwd and /etc/group failed here";
        return false;
    }
    // Not root, no namespaces in this sandbox, or a chroot whose "/" is not a mount point: the
    // test program never started.
    if (!output.contains("[==========]")) {
        *why = "a private mount namespace cannot be made here (uid " + std::to_string(geteuid()) +
               "): " + output.trimmed().toStdString();
        return false;
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
        !output.contains("[  PASSED  ] 1 test"))
        ADD_FAILURE() << "inside the namespace:\n" << output.toStdString();
    return false;
}

// Inside the namespace: from now on the effective user is called user, with primaryGroup as
// its group id, and the group database is groups. The files are rewritten in place, so the
// mounts over /etc show the new text.
inline void UseUserDatabase(const std::string &user, const std::string &groups,
                            unsigned primaryGroup)
{
    const QString dir = qEnvironmentVariable(kDirectoryVariable);
    const std::string passwd = user + ":x:" + std::to_string(geteuid()) + ":" +
                               std::to_string(primaryGroup) + ":Test User:/nonexistent:/bin/sh\n";
    for (const auto &[name, text] : {std::pair{"passwd", passwd}, std::pair{"group", groups}}) {
        QFile file(dir + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name;
        ASSERT_EQ(file.write(text.data(), qint64(text.size())), qint64(text.size()));
    }
}

} // namespace usernamespace

#define RUN_IN_USER_NAMESPACE()                                                                    \
    if (std::string why_; !usernamespace::Enter(&why_)) {                                          \
        if (!why_.empty())                                                                         \
            GTEST_SKIP() << why_;                                                                  \
        return;                                                                                    \
    }

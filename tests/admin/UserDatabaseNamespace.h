// RUN_IN_USER_NAMESPACE() runs a test again, alone, in a child inside a throw-away mount namespace
// (unshare) whose /etc/passwd and /etc/group are bind mounts of temporary files the test writes;
// the machine's own files are never touched. Skipped where no such namespace can be made.
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

// The effective user is called user, with primaryGroup as its group id; groups as given.
struct UserDatabase
{
    std::string user, groups;
    unsigned primaryGroup = 100;
    static UserDatabase withUser(const std::string &name, const std::string &groups,
                                 unsigned primaryGroup = 100)
    {
        return {name, groups, primaryGroup};
    }
};

namespace usernamespace {

// Inside the namespace: the directory whose passwd and group files are mounted over /etc.
inline const char kDirectoryVariable[] = "VELTRA_TEST_USER_DATABASE_DIR";

// True inside the namespace: run the test's body. Otherwise the child ran it and reported its
// failures, or *why says why it cannot run.
inline bool Enter(std::string *why)
{
    if (qEnvironmentVariableIsSet(kDirectoryVariable))
        return true;
    QTemporaryDir dir;
    QFile passwd(dir.filePath("passwd")), group(dir.filePath("group"));
    passwd.open(QIODevice::WriteOnly), group.open(QIODevice::WriteOnly);
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kDirectoryVariable, dir.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        "unshare",
        {"--mount", "--", "/bin/sh", "-c",
         "mount --bind \"$1/passwd\" /etc/passwd && "
         "mount --bind \"$1/group\" /etc/group || exit 77; exec \"$2\" \"$3\"",
         "sh", dir.path(), QCoreApplication::applicationFilePath(),
         QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    if (!child.waitForFinished(60000))
        child.kill(), child.waitForFinished();
    const QByteArray output = child.readAll();
    if (child.exitCode() == 77) { // the bind mounts failed
        *why = "bind mounts over /etc/passwd and /etc/group failed here";
        return false;
    }
    // No unshare, not root, no namespaces here, or a chroot: the test program never started.
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

// Inside the namespace: the user database from now on (rewritten in place, seen through /etc).
inline void UseUserDatabase(const UserDatabase &database)
{
    const QString dir = qEnvironmentVariable(kDirectoryVariable);
    const std::string passwd = database.user + ":x:" + std::to_string(geteuid()) + ":" +
                               std::to_string(database.primaryGroup) +
                               ":Test User:/nonexistent:/bin/sh\n";
    for (const auto &[name, text] : {std::pair{"passwd", passwd}, {"group", database.groups}}) {
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

// A whole test with one database: RUN_WITH_USER_DATABASE(UserDatabase::withUser("jo", groups)).
#define RUN_WITH_USER_DATABASE(database)                                                           \
    RUN_IN_USER_NAMESPACE();                                                                       \
    usernamespace::UseUserDatabase(database)

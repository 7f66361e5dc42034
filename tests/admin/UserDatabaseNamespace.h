// Runs a test inside a throw-away mount namespace whose /etc/passwd and /etc/group are files the
// test wrote, so the administrators check reads a real group database of the test's choosing.
// The machine's own files are never touched: the bind mounts live and die with the namespace.
//
//   TEST(Admin, MemberIsAdministrator)
//   {
//       RUN_WITH_USER_DATABASE(UserDatabase::withUser("jo", "admin:x:4242:jo\n"));
//       EXPECT_TRUE(IsUserAdmin_ADSafe()); // runs inside the namespace only
//   }
//
// Outside the namespace the macro runs the same test again, alone, in a child process inside a
// new namespace (unshare from util-linux), reports its failures and returns. Where no private
// namespace can be made (no root, no unshare, a chroot) the test is skipped with the reason.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

struct UserDatabase
{
    std::string passwd;
    std::string group;

    // The effective user is called name, with primaryGroup as its group id; groups as given.
    static UserDatabase withUser(const std::string &name, const std::string &groups,
                                 unsigned primaryGroup = 100)
    {
        return {name + ":x:" + std::to_string(geteuid()) + ":" + std::to_string(primaryGroup) +
                    ":Test User:/nonexistent:/bin/sh\n",
                groups};
    }
};

namespace usernamespace {

inline const char kInsideVariable[] = "VELTRA_TEST_IN_USER_NAMESPACE";

enum class Where
{
    Inside,      // run the test's body
    RanOutside,  // the child ran it; its result is reported
    Unavailable, // skip: *why says why
};

inline Where Enter(const UserDatabase &database, std::string *why)
{
    if (qEnvironmentVariableIsSet(kInsideVariable))
        return Where::Inside;
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty()) {
        *why = "unshare (util-linux) is not installed";
        return Where::Unavailable;
    }
    // Not root, no namespaces in this sandbox, or a chroot whose "/" is not a mount point (unshare
    // then cannot make "/" private and says "cannot change root filesystem propagation").
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(unshare, {"--mount", "true"});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0) {
        *why = "a private mount namespace cannot be made here (uid " + std::to_string(geteuid()) +
               "): unshare --mount said \"" + probe.readAll().trimmed().toStdString() + "\"";
        return Where::Unavailable;
    }

    QTemporaryDir dir;
    QFile passwd(dir.filePath("passwd"));
    QFile group(dir.filePath("group"));
    if (!dir.isValid() || !passwd.open(QIODevice::WriteOnly) || !group.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write the temporary user database";
        return Where::RanOutside;
    }
    passwd.write(database.passwd.c_str());
    group.write(database.group.c_str());
    passwd.close();
    group.close();

    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter =
        QStringLiteral("--gtest_filter=%1.%2")
            .arg(QString::fromUtf8(test->test_suite_name()), QString::fromUtf8(test->name()));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kInsideVariable, "1");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    // Exit 77: the bind mounts were refused.
    child.start(unshare,
                {"--mount", "--", "/bin/sh", "-c",
                 "mount --bind \"$1\" /etc/passwd && mount --bind \"$2\" /etc/group || exit 77; "
                 "exec \"$3\" \"$4\"",
                 "sh", passwd.fileName(), group.fileName(), QCoreApplication::applicationFilePath(),
                 filter});
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        ADD_FAILURE() << "the test did not finish inside the namespace";
        return Where::RanOutside;
    }
    const QByteArray output = child.readAll();
    if (child.exitCode() == 77) {
        *why = "bind mounts over /etc/passwd and /etc/group are not permitted here";
        return Where::Unavailable;
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
        !output.contains("[  PASSED  ] 1 test"))
        ADD_FAILURE() << "inside the namespace:\n" << output.toStdString();
    return Where::RanOutside;
}

} // namespace usernamespace

#define RUN_WITH_USER_DATABASE(database)                                                           \
    do {                                                                                           \
        std::string whyUnavailable_;                                                               \
        switch (usernamespace::Enter((database), &whyUnavailable_)) {                              \
        case usernamespace::Where::Inside:                                                         \
            break;                                                                                 \
        case usernamespace::Where::RanOutside:                                                     \
            return;                                                                                \
        case usernamespace::Where::Unavailable:                                                    \
            GTEST_SKIP() << whyUnavailable_;                                                       \
        }                                                                                          \
    } while (0)

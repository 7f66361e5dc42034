// Several processes on one store: concurrent saves, a writer killed half-way, locks left
// behind, and values saved by others.
#include "PreferenceTestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <csignal>
#include <thread>

namespace {

constexpr int kKeysPerState = 40;

QString stateKey(int i)
{
    return QStringLiteral("Printer %1/com.veltra.kzu.printsettings.Reference").arg(i);
}

// A large value that names the round it belongs to.
QString stateValue(int round, int key)
{
    return QStringLiteral("round %1 key %2 ").arg(round).arg(key) +
           QString(4000, QChar(u'a' + key % 26));
}

// The round every key of the store belongs to, or -1 when they disagree or a value is not whole.
int roundOfStore()
{
    int round = -1;
    for (int i = 0; i < kKeysPerState; ++i) {
        const std::optional<QString> value = copyString(stateKey(i), Scope::CurrentUser);
        if (!value)
            return -1;
        const int valueRound = value->section(u' ', 1, 1).toInt();
        if (*value != stateValue(valueRound, i) || (round >= 0 && valueRound != round))
            return -1;
        round = valueRound;
    }
    return round;
}

bool saveState(int round)
{
    for (int i = 0; i < kKeysPerState; ++i)
        setString(stateKey(i), stateValue(round, i), Scope::CurrentUser);
    return synchronize(Scope::CurrentUser);
}

TEST(PreferenceProcessesTest, WriterKilledWhileSavingLeavesAWholeState)
{
    TemporaryStores stores;
    ASSERT_TRUE(saveState(0));
    int lastRound = 0;
    for (int delayMs : {1, 3, 7, 15, 30, 60, 120, 250}) {
        SCOPED_TRACE(delayMs);
        const pid_t writer = startChild([&] {
            stores.reopen();
            for (int round = lastRound + 1;; ++round)
                saveState(round);
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(writer, SIGKILL);
        EXPECT_EQ(waitForChild(writer), -1);

        StderrCapture capture;
        stores.reopen();
        const int round = roundOfStore();
        EXPECT_GE(round, lastRound) << "the file holds every key of one round";
        EXPECT_FALSE(capture.text().contains(QStringLiteral("damaged")));
        EXPECT_TRUE(QDir(stores.directory()).entryList({QStringLiteral("*.damaged-*")}).isEmpty());
        lastRound = std::max(round, lastRound);

        // The lock the killed writer may have left (even an empty one, when it was killed
        // while creating it) does not stop the next save.
        ASSERT_TRUE(saveState(lastRound + 1));
        ++lastRound;
        stores.reopen();
        EXPECT_EQ(roundOfStore(), lastRound);
    }
}

TEST(PreferenceProcessesTest, ConcurrentWritersLoseNeitherOnesValues)
{
    TemporaryStores stores;
    constexpr int kRounds = 60;
    constexpr int kKeysPerWriter = 8;
    auto key = [](char writer, int i) {
        return QStringLiteral("%1 writer/key %2").arg(QChar(writer)).arg(i);
    };
    auto value = [](char writer, int round) {
        return QStringLiteral("%1 round %2").arg(QChar(writer)).arg(round, 3, 10, QChar(u'0'));
    };
    auto writerLoop = [&](char writer) {
        return [&, writer] {
            stores.reopen();
            for (int round = 1; round <= kRounds; ++round) {
                for (int i = 0; i < kKeysPerWriter; ++i)
                    setString(key(writer, i), value(writer, round), Scope::CurrentUser);
                if (!synchronize(Scope::CurrentUser))
                    return 1;
            }
            return 0;
        };
    };
    const pid_t first = startChild(writerLoop('A'));
    const pid_t second = startChild(writerLoop('B'));
    EXPECT_EQ(waitForChild(first), 0);
    EXPECT_EQ(waitForChild(second), 0);

    stores.reopen();
    for (char writer : {'A', 'B'}) {
        for (int i = 0; i < kKeysPerWriter; ++i)
            EXPECT_EQ(copyString(key(writer, i), Scope::CurrentUser), value(writer, kRounds))
                << writer << " " << i;
    }
}

TEST(PreferenceProcessesTest, EverySaveIsDistinguishableFromThePreviousOne)
{
    // Other processes notice a save by the file's size and modification time; saves of the
    // same size within one clock tick must still differ in time, or another writer would
    // merge into stale values.
    TemporaryStores stores;
    qint64 previous = -1;
    for (int round = 0; round < 30; ++round) {
        setString(QStringLiteral("key"), QStringLiteral("value %1").arg(round % 10),
                  Scope::CurrentUser);
        ASSERT_TRUE(synchronize(Scope::CurrentUser));
        const QFileInfo info(stores.file(Scope::CurrentUser));
        const qint64 stamp = info.lastModified().toMSecsSinceEpoch();
        EXPECT_GT(stamp, previous) << "save " << round;
        previous = stamp;
    }
}

TEST(PreferenceProcessesTest, SynchronizeReadsWhatAnotherProcessSaved)
{
    TemporaryStores stores;
    setString(QStringLiteral("shared"), QStringLiteral("first"), Scope::AnyUser);
    ASSERT_TRUE(synchronize(Scope::AnyUser));

    const pid_t other = startChild([&] {
        stores.reopen();
        setString(QStringLiteral("shared"), QStringLiteral("second"), Scope::AnyUser);
        setString(QStringLiteral("added"), QStringLiteral("by the other"), Scope::AnyUser);
        return synchronize(Scope::AnyUser) ? 0 : 1;
    });
    ASSERT_EQ(waitForChild(other), 0);

    EXPECT_EQ(copyString(QStringLiteral("shared"), Scope::AnyUser), QStringLiteral("first"))
        << "values are reread at synchronisation";
    ASSERT_TRUE(synchronize(Scope::AnyUser));
    EXPECT_EQ(copyString(QStringLiteral("shared"), Scope::AnyUser), QStringLiteral("second"));
    EXPECT_EQ(copyString(QStringLiteral("added"), Scope::AnyUser), QStringLiteral("by the other"));

    // Our own pending change merges with theirs instead of replacing the file.
    setString(QStringLiteral("mine"), QStringLiteral("too"), Scope::AnyUser);
    ASSERT_TRUE(synchronize(Scope::AnyUser));
    stores.reopen();
    EXPECT_EQ(copyString(QStringLiteral("added"), Scope::AnyUser), QStringLiteral("by the other"));
    EXPECT_EQ(copyString(QStringLiteral("mine"), Scope::AnyUser), QStringLiteral("too"));
}

struct LeftLock
{
    const char *name;
    // Leaves <store>.lock behind.
    std::function<void(const QString &lockPath)> leave;
};

TEST(PreferenceProcessesTest, LockLeftBehindDoesNotBlockTheNextSave)
{
    const LeftLock cases[] = {
        {"killed writer",
         [](const QString &lockPath) {
             const pid_t holder = startChild([&] {
                 QLockFile lock(lockPath);
                 if (!lock.lock())
                     return 1;
                 ::raise(SIGKILL);
                 return 0;
             });
             waitForChild(holder);
         }},
        {"process id now used by another program",
         [](const QString &lockPath) {
             QFile file(lockPath);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("1\nsome-other-program\n" + QSysInfo::machineHostName().toUtf8() + "\n");
         }},
        {"writer on another computer, long ago",
         [](const QString &lockPath) {
             QFile file(lockPath);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("4242\nveltra-print\nanother-computer.example\n");
             file.flush();
             file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                              QFileDevice::FileModificationTime);
         }},
        // Its owner cannot be checked from here; only its age tells.
        {"writer on another computer, just now",
         [](const QString &lockPath) {
             QFile file(lockPath);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("4242\nveltra-print\nanother-computer.example\n");
         }},
    };
    for (const LeftLock &c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryStores stores;
        setString(QStringLiteral("before"), QStringLiteral("1"), Scope::CurrentUser);
        ASSERT_TRUE(synchronize(Scope::CurrentUser));
        const QString lockPath = stores.file(Scope::CurrentUser) + QStringLiteral(".lock");
        c.leave(lockPath);
        ASSERT_TRUE(QFileInfo::exists(lockPath));

        setString(QStringLiteral("after"), QStringLiteral("2"), Scope::CurrentUser);
        ASSERT_TRUE(synchronize(Scope::CurrentUser));
        stores.reopen();
        EXPECT_EQ(copyString(QStringLiteral("after"), Scope::CurrentUser), QStringLiteral("2"));
        EXPECT_EQ(copyString(QStringLiteral("before"), Scope::CurrentUser), QStringLiteral("1"));
    }
}

} // namespace

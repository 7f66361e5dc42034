// The store files: private to the user, damaged files kept aside, a shared store that only
// administrators may change.
#include "PreferenceTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes, mode_t mode = 0600)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);
}

mode_t modeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777)
                                                                   : mode_t(-1);
}

QStringList setAsideFiles(const QString &storeFile)
{
    const QFileInfo info(storeFile);
    return info.dir().entryList({info.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
}

// Sets the process umask for the life of the object.
class UmaskScope
{
public:
    explicit UmaskScope(mode_t mask) : m_saved(::umask(mask)) {}
    ~UmaskScope() { ::umask(m_saved); }

private:
    mode_t m_saved;
};

TEST(PreferenceFilesTest, CurrentUserFileIsPrivateFromItsCreation)
{
    // With no umask at all, anything created with default permissions would be world-readable.
    UmaskScope noMask(0);
    TemporaryStores stores;
    setString(QStringLiteral("Printer1UserIDReference"), QStringLiteral("alice"),
              Scope::CurrentUser);
    ASSERT_TRUE(synchronize(Scope::CurrentUser));
    EXPECT_EQ(modeOf(stores.file(Scope::CurrentUser)), mode_t(0600));
    EXPECT_EQ(modeOf(QFileInfo(stores.file(Scope::CurrentUser)).absolutePath()), mode_t(0700));

    // Later saves replace the file and keep its mode.
    setString(QStringLiteral("Printer1UserIDReference"), QStringLiteral("bob"), Scope::CurrentUser);
    ASSERT_TRUE(synchronize(Scope::CurrentUser));
    EXPECT_EQ(modeOf(stores.file(Scope::CurrentUser)), mode_t(0600));

    // The shared store is meant to be read by everyone.
    setString(QStringLiteral("Printer1AccountModeReference"), QStringLiteral("1"), Scope::AnyUser);
    ASSERT_TRUE(synchronize(Scope::AnyUser));
    EXPECT_EQ(modeOf(stores.file(Scope::AnyUser)) & 0044, mode_t(0044));
}

TEST(PreferenceFilesTest, SavedFileIsReadableText)
{
    TemporaryStores stores;
    setString(QStringLiteral("Office/1com.veltra.kzu.printsettings.UserNameReference"),
              QStringLiteral("J\u00fcrgen"), Scope::CurrentUser);
    ASSERT_TRUE(synchronize(Scope::CurrentUser));
    const QByteArray text = readAll(stores.file(Scope::CurrentUser));
    EXPECT_TRUE(text.startsWith("veltra-pde preferences 1\n")) << text.constData();
    EXPECT_TRUE(text.contains("Office/1com.veltra.kzu.printsettings.UserNameReference=string:"
                              "J\xC3\xBCrgen\n"))
        << text.constData();
}

struct DamageCase
{
    const char *name;
    QByteArray content;
};

TEST(PreferenceFilesTest, DamagedStoreIsKeptAsideAndReadsAsEmpty)
{
    const DamageCase cases[] = {
        {"binary garbage", QByteArray("\x00\xFF\xFE garbage \x80\x81", 14)},
        {"no header", "key=string:value\n"},
        {"other header", "[General]\nkey=value\n"},
        {"no separator", "veltra-pde preferences 1\nkey string value\n"},
        {"no type", "veltra-pde preferences 1\nkey=value\n"},
        {"unknown type", "veltra-pde preferences 1\nkey=colour:red\n"},
        {"bad escape", "veltra-pde preferences 1\nke\\qy=string:value\n"},
        {"bad integer", "veltra-pde preferences 1\nkey=integer:12x\n"},
        {"bad data", "veltra-pde preferences 1\nkey=data:***\n"},
        {"cut in a character", "veltra-pde preferences 1\nkey=string:caf\xC3"},
    };
    for (const DamageCase &c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryStores stores;
        for (Scope scope : {Scope::CurrentUser, Scope::AnyUser}) {
            const QString file = stores.file(scope);
            writeFile(file, c.content, scope == Scope::CurrentUser ? 0600 : 0644);
            stores.reopen();
            StderrCapture capture;
            EXPECT_EQ(copyString(QStringLiteral("key"), scope), std::nullopt);
            const QString messages = capture.text();
            EXPECT_TRUE(messages.contains(QStringLiteral("is damaged")) &&
                        messages.contains(QStringLiteral("kept as")) && messages.contains(file))
                << messages.toStdString();

            const QStringList aside = setAsideFiles(file);
            ASSERT_EQ(aside.size(), 1) << nameOf(scope);
            EXPECT_EQ(readAll(QFileInfo(file).dir().filePath(aside.first())), c.content)
                << "the damaged bytes are kept unchanged";

            setString(QStringLiteral("key"), QStringLiteral("fresh"), scope);
            ASSERT_TRUE(synchronize(scope));
            stores.reopen();
            EXPECT_EQ(copyString(QStringLiteral("key"), scope), QStringLiteral("fresh"));
            EXPECT_EQ(setAsideFiles(file).size(), 1) << "the new file is not damaged";
            if (scope == Scope::CurrentUser) {
                EXPECT_EQ(modeOf(file), mode_t(0600));
            }
        }
    }
}

TEST(PreferenceFilesTest, DamagedStoreFoundWhileSavingIsKeptAsideToo)
{
    TemporaryStores stores;
    setString(QStringLiteral("before"), QStringLiteral("1"), Scope::CurrentUser);
    ASSERT_TRUE(synchronize(Scope::CurrentUser));
    // Another program damages the file while this session has it open.
    writeFile(stores.file(Scope::CurrentUser), "not a preferences file at all\n");
    setString(QStringLiteral("after"), QStringLiteral("2"), Scope::CurrentUser);
    StderrCapture capture;
    ASSERT_TRUE(synchronize(Scope::CurrentUser));
    EXPECT_TRUE(capture.text().contains(QStringLiteral("is damaged")));
    ASSERT_EQ(setAsideFiles(stores.file(Scope::CurrentUser)).size(), 1);
    stores.reopen();
    EXPECT_EQ(copyString(QStringLiteral("after"), Scope::CurrentUser), QStringLiteral("2"));
    EXPECT_EQ(copyString(QStringLiteral("before"), Scope::CurrentUser), std::nullopt);
    EXPECT_EQ(modeOf(stores.file(Scope::CurrentUser)), mode_t(0600));
}

TEST(PreferenceFilesTest, EmptyFileIsAnEmptyStoreNotADamagedOne)
{
    TemporaryStores stores;
    writeFile(stores.file(Scope::CurrentUser), QByteArray());
    stores.reopen();
    StderrCapture capture;
    EXPECT_EQ(copyString(QStringLiteral("key"), Scope::CurrentUser), std::nullopt);
    EXPECT_TRUE(capture.text().isEmpty());
    EXPECT_TRUE(setAsideFiles(stores.file(Scope::CurrentUser)).isEmpty());
}

// Saves to the shared store as a user who may not write it; answers what the child saw.
struct UnprivilegedSave
{
    bool synchronized = true;
    bool readOld = false;
    bool pendingVisible = false;
    int messages = 0;
};

TEST(PreferenceFilesTest, SharedStoreThatCannotBeWrittenKeepsItsValues)
{
    TemporaryStores stores;
    setString(QStringLiteral("Printer1AccountModeReference"), QStringLiteral("0"), Scope::AnyUser);
    ASSERT_TRUE(synchronize(Scope::AnyUser));
    const QString file = stores.file(Scope::AnyUser);
    const QString directory = QFileInfo(file).absolutePath();
    const QByteArray before = readAll(file);

    // As an administrator (root) would leave it: readable by all, writable by nobody else.
    const bool asRoot = ::geteuid() == 0;
    const struct passwd *nobody = ::getpwnam("nobody");
    if (asRoot && !nobody)
        GTEST_SKIP() << "no unprivileged user to save as";
    ::chmod(QFile::encodeName(stores.directory()).constData(), 0755);
    ::chmod(QFile::encodeName(QFileInfo(directory).absolutePath()).constData(), 0755);
    ::chmod(QFile::encodeName(directory).constData(), 0555);
    ::chmod(QFile::encodeName(file).constData(), 0444);

    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const uid_t uid = nobody ? nobody->pw_uid : 0;
    const gid_t gid = nobody ? nobody->pw_gid : 0;
    const pid_t child = startChild([&] {
        ::close(pipeFds[0]);
        if (asRoot && (::setgid(gid) != 0 || ::setuid(uid) != 0))
            return 90;
        stores.reopen();
        UnprivilegedSave result;
        StderrCapture capture;
        result.readOld = copyString(QStringLiteral("Printer1AccountModeReference"),
                                    Scope::AnyUser) == QStringLiteral("0");
        setString(QStringLiteral("Printer1AccountModeReference"), QStringLiteral("1"),
                  Scope::AnyUser);
        result.synchronized = synchronize(Scope::AnyUser);
        result.synchronized = synchronize(Scope::AnyUser) || result.synchronized;
        result.pendingVisible = copyString(QStringLiteral("Printer1AccountModeReference"),
                                           Scope::AnyUser) == QStringLiteral("1");
        const QString messages = capture.text();
        result.messages = int(messages.count(QStringLiteral("cannot save preferences")));
        if (!messages.contains(QStringLiteral("administrator")))
            result.messages = -1;
        if (::write(pipeFds[1], &result, sizeof result) != sizeof result)
            return 91;
        return 0;
    });
    ::close(pipeFds[1]);
    UnprivilegedSave result;
    const bool received = ::read(pipeFds[0], &result, sizeof result) == sizeof result;
    ::close(pipeFds[0]);
    ASSERT_EQ(waitForChild(child), 0);
    ASSERT_TRUE(received);
    EXPECT_TRUE(result.readOld) << "everyone reads the shared store";
    EXPECT_FALSE(result.synchronized);
    EXPECT_TRUE(result.pendingVisible) << "the refused value stays pending in that session";
    EXPECT_EQ(result.messages, 1) << "one clear message, mentioning administrators";

    ::chmod(QFile::encodeName(directory).constData(), 0755);
    ::chmod(QFile::encodeName(file).constData(), 0644);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(QDir(directory).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary or lock file left behind";
    stores.reopen();
    EXPECT_EQ(copyString(QStringLiteral("Printer1AccountModeReference"), Scope::AnyUser),
              QStringLiteral("0"));
}

TEST(PreferenceFilesTest, UnwritableStoreAnswersFalseInThisProcessToo)
{
    TemporaryStores stores;
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes everywhere; the child-process case covers it";
    setString(QStringLiteral("key"), QStringLiteral("old"), Scope::AnyUser);
    ASSERT_TRUE(synchronize(Scope::AnyUser));
    const QString directory = QFileInfo(stores.file(Scope::AnyUser)).absolutePath();
    ::chmod(QFile::encodeName(directory).constData(), 0555);
    setString(QStringLiteral("key"), QStringLiteral("new"), Scope::AnyUser);
    StderrCapture capture;
    EXPECT_FALSE(synchronize(Scope::AnyUser));
    EXPECT_TRUE(capture.text().contains(QStringLiteral("cannot save preferences")));
    ::chmod(QFile::encodeName(directory).constData(), 0755);
    stores.reopen();
    EXPECT_EQ(copyString(QStringLiteral("key"), Scope::AnyUser), QStringLiteral("old"));
}

} // namespace

// The preference store the panes use: values under opaque keys in two scopes, private files,
// damaged files kept aside, a shared store, batches, and several processes saving to one store.
#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/CoreFoundation.h"

#include "../host/fixture/StderrCapture.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Scope = int;
constexpr Scope User = 0, Any = 1;
const CFStringRef kApp = kCFPreferencesAnyApplication, kMe = kCFPreferencesCurrentUser,
                  kHost = kCFPreferencesCurrentHost;

class Preferences : public ::testing::Test
{
protected:
    void SetUp() override { fresh(); }
    void TearDown() override { VeltraPreferencesSetStoreFiles(nullptr, nullptr); }

    void fresh()
    {
        dir = std::make_unique<QTemporaryDir>();
        reopen();
    }
    // Cached state is dropped and the files are reread, as in a new process: their time moves
    // on, so what this process read or wrote last is not taken for what is on disk.
    void reopen() const
    {
        for (Scope s : {User, Any}) {
            QFile f(file(s));
            if (f.open(QIODevice::Append))
                f.setFileTime(QFileInfo(f).lastModified().addSecs(1), QFile::FileModificationTime);
        }
        VeltraPreferencesSetStoreFiles(QFile::encodeName(file(User)), QFile::encodeName(file(Any)));
    }
    QString folder(Scope s) const { return dir->filePath(s ? "etc" : "home"); }
    QString file(Scope s) const { return folder(s) + (s ? "/any.conf" : "/user.conf"); }
    QStringList setAside(Scope s) const { return QDir(folder(s)).entryList({"*.damaged-*"}); }

    using Str = CFRef<CFStringRef>;
    static Str cf(const QString &text) { return Str(CFStringCreateWithQString(text)); }
    static CFStringRef userOf(Scope s) { return s ? kCFPreferencesAnyUser : kMe; }
    static void put(const QString &k, CFPropertyListRef v, Scope s = User)
    {
        CFPreferencesSetValue(cf(k), v, kApp, userOf(s), kHost);
    }
    static void set(const QString &key, const QString &v, Scope s = User) { put(key, cf(v), s); }
    static CFRef<CFPropertyListRef> copy(const QString &key, Scope s = User)
    {
        return CFRef<CFPropertyListRef>(CFPreferencesCopyValue(cf(key), kApp, userOf(s), kHost));
    }
    // The stored string as UTF-8, or "<absent>" when the key is missing or holds another type.
    static std::string get(const QString &key, Scope s = User)
    {
        const CFRef<CFPropertyListRef> value = copy(key, s);
        if (!value || CFGetTypeID(value) != CFStringGetTypeID())
            return "<absent>";
        return QStringFromCF(static_cast<CFStringRef>(value.get())).toStdString();
    }
    static bool sync(Scope s = User) { return CFPreferencesSynchronize(kApp, userOf(s), kHost); }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString &path, const QByteArray &bytes, mode_t mode = 0600)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        const int fd = ::open(QFile::encodeName(path), O_WRONLY | O_CREAT | O_TRUNC, mode);
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
    }
    static mode_t modeOf(const QString &path)
    {
        struct stat info = {};
        return ::stat(QFile::encodeName(path), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    static bool has(const std::string &text, const char *s) { return text.find(s) != text.npos; }
    // Runs work in a forked child; its answer is the exit status, -1 when it did not exit.
    static int inChild(const std::function<int()> &work) { return waitFor(startChild(work)); }
    static pid_t startChild(const std::function<int()> &work)
    {
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0)
            _exit(work());
        return pid;
    }
    static int waitFor(pid_t pid)
    {
        int status = 0;
        return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::unique_ptr<QTemporaryDir> dir;
};

TEST_F(Preferences, EveryKeyAndValueReadsBackPendingSavedAndReopenedInBothScopes)
{
    // Keys as the panes make them, and every character a file format could trip over.
    QStringList keys = QString("/|//|a//b|a/b|/leading|trailing/|\\|a\\b|a\\\\b| | spaced key |=|"
                               "a=b=c|[General]|General|general|#comment|;semi|\"quoted\"|%41 x|"
                               "~0041 x|k|kk|line\nbreak|tab\there|carriage\rreturn|caf\u00e9|"
                               "\u30d7\u30ea/\u7528\u7d19|\xF0\x9F\x96\xA8 printer|Case|case")
                           .split(u'|');
    const UniChar lone[] = {u'a', 0xD800, u'b'}, odd[] = {u'x', 0xDC00, u'=', u'\n'};
    keys << QString(QChar(0)) + "nul" << QString()
         << QStringFromCF(CFRef<CFStringRef>(CFStringCreateWithCharacters(nullptr, lone, 3)))
         << "ipp://printer.local:631/printers/Office_1com.veltra.kzu.printsettings.PrintType";
    // Values of every property list type, and under each key a string no file format likes.
    const SInt32 number = -42;
    const double real = 0.1;
    const UInt8 bytes[] = {0, 1, 0xFE, 0xFF};
    std::vector<std::pair<QString, CFRef<CFTypeRef>>> entries = {
        {"number", CFRef<CFTypeRef>(CFNumberCreate(nullptr, kCFNumberSInt32Type, &number))},
        {"real", CFRef<CFTypeRef>(CFNumberCreate(nullptr, kCFNumberFloat64Type, &real))},
        {"data", CFRef<CFTypeRef>(CFDataCreate(nullptr, bytes, sizeof bytes))},
        {"odd", CFRef<CFTypeRef>(CFStringCreateWithCharacters(nullptr, odd, 4))},
        {"empty", CFRef<CFTypeRef>::retain(CFSTR(""))},
        {"true", CFRef<CFTypeRef>::retain(kCFBooleanTrue)},
        {"false", CFRef<CFTypeRef>::retain(kCFBooleanFalse)}};
    for (qsizetype i = 0; i < keys.size(); ++i)
        entries.push_back(
            {keys[i], CFRef<CFTypeRef>(cf(QString("%1 /\\= \u00e9\n").arg(i)).release())});
    for (Scope scope : {User, Any}) {
        fresh();
        for (const auto &[key, value] : entries)
            put(key, value, scope);
        for (const char *when : {"pending", "saved", "reopened"}) {
            EXPECT_TRUE(when[0] != 's' || sync(scope)) << "saved";
            if (when[0] == 'r')
                reopen();
            for (const auto &[key, value] : entries) {
                const CFRef<CFPropertyListRef> stored = copy(key, scope);
                EXPECT_TRUE(stored && CFGetTypeID(stored) == CFGetTypeID(value) &&
                            CFEqual(stored, value))
                    << when << ", scope " << scope << ", key " << key.toUtf8().toHex().data();
            }
        }
        EXPECT_EQ(get("a", scope), "<absent>") << "no key is folded into another";
    }
}

TEST_F(Preferences, ScopesAreSeparateStoresThatHoldOnlyWhatWasSaved)
{
    set("mode", "0", Any);
    set("mode", "1", User);
    set("gone", "soon");
    // Any host names the same store as the current host.
    CFPreferencesSetValue(CFSTR("host"), CFSTR("any"), kApp, kMe, kCFPreferencesAnyHost);
    EXPECT_FALSE(QFileInfo::exists(file(User))) << "nothing is written before Synchronize";
    ASSERT_TRUE(sync(Any) && CFPreferencesSynchronize(kApp, kMe, kCFPreferencesAnyHost));
    // A null value removes the key; unsaved changes are seen in this process only.
    put("gone", nullptr);
    set("pending", "yes");
    EXPECT_EQ(get("gone") + get("pending"), "<absent>yes");
    reopen();
    EXPECT_EQ(get("mode", Any) + get("mode", User) + get("host"), "01any");
    EXPECT_EQ(get("gone") + get("pending"), "soon<absent>");
    put("gone", nullptr);
    ASSERT_TRUE(sync());
    reopen();
    EXPECT_EQ(get("gone") + get("mode", User), "<absent>1");
    // Other types, other applications, other users and no key are refused.
    const void *items[] = {CFSTR("a")};
    CFRef<CFArrayRef> array(CFArrayCreate(nullptr, items, 1, &kCFTypeArrayCallBacks));
    StderrCapture capture;
    put("array", array);
    EXPECT_FALSE(copy("array"));
    CFPreferencesSetValue(CFSTR("key"), CFSTR("v"), CFSTR("com.example.other"), kMe, kHost);
    EXPECT_FALSE(CFPreferencesCopyValue(CFSTR("key"), CFSTR("com.example.other"), kMe, kHost));
    EXPECT_FALSE(CFPreferencesSynchronize(kApp, CFSTR("someone"), kHost));
    EXPECT_FALSE(CFPreferencesCopyValue(nullptr, kApp, kMe, kHost));
    CFPreferencesSetValue(nullptr, CFSTR("v"), kApp, kMe, kHost);
    EXPECT_TRUE(has(capture.text(), "cannot be stored"));
    EXPECT_EQ(get("key"), "<absent>");
}

TEST_F(Preferences, DefaultStoresFollowTheXDGDirectories)
{
    const QByteArray home = qgetenv("XDG_CONFIG_HOME"), dirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir->filePath("config")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir->filePath("xdg")) + ":/etc/xdg");
    VeltraPreferencesSetStoreFiles(nullptr, nullptr);
    set("key", "mine", User);
    set("key", "everyone's", Any);
    EXPECT_TRUE(sync(User) && sync(Any));
    EXPECT_EQ(read(dir->filePath("config/veltra-pde/preferences.conf")).count("mine"), 1);
    EXPECT_EQ(read(dir->filePath("xdg/veltra-pde/preferences.conf")).count("everyone's"), 1);
    qputenv("XDG_CONFIG_HOME", home); // empty is the same as unset
    qputenv("XDG_CONFIG_DIRS", dirs);
}

TEST_F(Preferences, CurrentUserFileIsPrivateFromItsCreationAndReadableText)
{
    // With no umask at all, anything created with default permissions would be world-readable.
    const mode_t savedMask = ::umask(0);
    set("Office/1com.veltra.kzu.printsettings.UserNameReference", "J\u00fcrgen");
    set("a=b", "x=y\\\n");
    ASSERT_TRUE(sync());
    EXPECT_EQ(modeOf(file(User)), mode_t(0600));
    EXPECT_EQ(modeOf(folder(User)), mode_t(0700));
    EXPECT_EQ(read(file(User)),
              "veltra-pde preferences 1\nOffice/1com.veltra.kzu.printsettings."
              "UserNameReference=string:J\xC3\xBCrgen\na\\=b=string:x\\=y\\\\\\n\n");
    // Later saves replace the file and keep its mode; the shared store is read by everyone.
    set("Office/1com.veltra.kzu.printsettings.UserNameReference", "bob");
    set("Printer1AccountModeReference", "1", Any);
    ASSERT_TRUE(sync(User) && sync(Any));
    EXPECT_EQ(modeOf(file(User)), mode_t(0600));
    EXPECT_EQ(modeOf(file(Any)) & 0044, mode_t(0044));
    ::umask(savedMask);
}

TEST_F(Preferences, FilesWrittenElsewhereAreReadAndDamagedOnesKeptAside)
{
    const QByteArray h = "veltra-pde preferences 1\n";
    // The file's bytes, and the value of "key" (null: the file is damaged).
    const std::tuple<const char *, QByteArray, const char *> rows[] = {
        // clang-format off
        {"escapes", h + "key=string:a\\=b\\\\c\\n\\u00E9\n", "a=b\\c\n\xC3\xA9"},
        {"escaped key", h + "k\\=ey=string:1\nkey=string:2\n", "2"}, {"empty", "", "<absent>"},
        {"binary garbage", QByteArray("\x00\xFF\xFE garbage \x80\x81", 14), nullptr},
        {"no header", "key=string:value\n", nullptr}, {"other header", "[General]\nkey=v\n", nullptr},
        {"no separator", h + "key string value\n", nullptr}, {"no type", h + "key=v\n", nullptr},
        {"unknown type", h + "key=colour:red\n", nullptr}, {"bad escape", h + "k\\qy=string:v\n", nullptr},
        {"bad integer", h + "key=integer:12x\n", nullptr}, {"bad data", h + "key=data:***\n", nullptr},
        {"cut in a character", h + "key=string:caf\xC3", nullptr}};
    // clang-format on
    for (const auto &[name, content, value] : rows) {
        for (Scope scope : {User, Any}) {
            SCOPED_TRACE(testing::Message() << name << ", scope " << scope);
            fresh();
            write(file(scope), content, scope == User ? 0600 : 0644);
            reopen();
            StderrCapture capture;
            EXPECT_EQ(get("key", scope), value ? value : "<absent>");
            const std::string messages = capture.text();
            EXPECT_EQ(messages.empty(), value != nullptr) << messages;
            EXPECT_TRUE(value || (has(messages, "is damaged") && has(messages, "kept as") &&
                                  has(messages, QFile::encodeName(file(scope)).constData())));
            ASSERT_EQ(setAside(scope).size(), value ? 0 : 1);
            EXPECT_EQ(value ? content : read(folder(scope) + "/" + setAside(scope).first()),
                      content)
                << "the damaged bytes are kept unchanged";
            set("key", "fresh", scope);
            ASSERT_TRUE(sync(scope));
            reopen();
            EXPECT_EQ(get("key", scope), "fresh");
            EXPECT_EQ(setAside(scope).size(), value ? 0 : 1) << "the new file is not damaged";
            EXPECT_EQ(modeOf(file(scope)), mode_t(scope == User ? 0600 : 0644));
        }
    }
    // Another program damages the file while this session has it open: found while saving.
    fresh();
    set("before", "1");
    ASSERT_TRUE(sync());
    write(file(User), "not a preferences file at all\n");
    set("after", "2");
    StderrCapture capture;
    ASSERT_TRUE(sync());
    EXPECT_TRUE(has(capture.text(), "is damaged"));
    ASSERT_EQ(setAside(User).size(), 1);
    reopen();
    EXPECT_EQ(get("after") + get("before"), "2<absent>");
    EXPECT_EQ(modeOf(file(User)), mode_t(0600));
}

TEST_F(Preferences, SharedStoreThatCannotBeWrittenKeepsItsValues)
{
    set("mode", "0", Any);
    ASSERT_TRUE(sync(Any));
    // As an administrator would leave it: readable by all, writable by nobody else.
    const bool asRoot = ::geteuid() == 0;
    const struct passwd *nobody = ::getpwnam("nobody");
    if (asRoot && !nobody)
        GTEST_SKIP() << "no unprivileged user to save as";
    ::chmod(QFile::encodeName(dir->path()), 0755);
    ::chmod(QFile::encodeName(folder(Any)), 0555);
    ::chmod(QFile::encodeName(file(Any)), 0444);
    const int seen = inChild([&] {
        if (asRoot && (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0))
            return 0;
        reopen();
        StderrCapture capture;
        const bool readOld = get("mode", Any) == "0";
        set("mode", "1", Any);
        const bool refused = !sync(Any) && !sync(Any);
        const bool pending = get("mode", Any) == "1";
        const QString messages = QString::fromStdString(capture.text());
        const bool once =
            messages.count("cannot save preferences") == 1 && messages.contains("administrator");
        return readOld | refused << 1 | pending << 2 | once << 3;
    });
    EXPECT_EQ(seen, 15) << "bits: 1 read the shared store, 2 save refused, 4 refused value "
                           "still pending in that session, 8 one message naming administrators";
    ::chmod(QFile::encodeName(folder(Any)), 0755);
    ::chmod(QFile::encodeName(file(Any)), 0644);
    EXPECT_EQ(QDir(folder(Any)).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary or lock file left behind";
    reopen();
    EXPECT_EQ(get("mode", Any), "0");
}

TEST_F(Preferences, BatchSavesEachStoreOnceWhenTheOutermostBatchEnds)
{
    // The any-user store's directory cannot be made: its parent is a plain file.
    write(dir->filePath("etc"), "");
    StderrCapture errors;
    VeltraPreferencesBeginBatch();
    set("name", "alice");
    EXPECT_TRUE(sync());
    VeltraPreferencesBeginBatch();
    set("passcode", "1234");
    EXPECT_TRUE(sync());
    set("type", "0", Any);
    EXPECT_FALSE(sync(Any));
    EXPECT_TRUE(VeltraPreferencesEndBatch());
    EXPECT_FALSE(QFile::exists(file(User))) << "saved before the outermost batch ended";
    EXPECT_EQ(get("passcode"), "1234");
    EXPECT_FALSE(VeltraPreferencesEndBatch());
    EXPECT_TRUE(has(errors.text(), "cannot save preferences to"));
    // As a new process sees them: the current user's values, saved in one file.
    reopen();
    EXPECT_EQ(get("name") + get("passcode") + get("type", Any), "alice1234<absent>");
    // Outside a batch, a write is saved by its own synchronisation again.
    set("other", "bob");
    EXPECT_TRUE(sync() && read(file(User)).contains("\nother=string:bob\n"));
}

TEST_F(Preferences, SynchronizeMergesWithWhatAnotherProcessSaved)
{
    set("name", "alice");
    set("shared", "first", Any);
    ASSERT_TRUE(sync() && sync(Any));
    // An unchanged value is not saved again (every save gives the file a new time)...
    const QDateTime saved = QFileInfo(file(User)).lastModified();
    set("name", "alice");
    EXPECT_TRUE(sync());
    EXPECT_EQ(QFileInfo(file(User)).lastModified(), saved);
    ASSERT_EQ(inChild([&] {
                  reopen();
                  set("name", "carol");
                  set("shared", "second", Any);
                  set("added", "by the other", Any);
                  return sync() && sync(Any) ? 0 : 1;
              }),
              0);
    EXPECT_EQ(get("shared", Any), "first") << "values are reread at synchronisation";
    ASSERT_TRUE(sync(Any));
    EXPECT_EQ(get("shared", Any) + get("added", Any), "secondby the other");
    // ...unless another process changed it; and our own changes merge with theirs.
    set("name", "alice");
    set("mine", "too", Any);
    EXPECT_TRUE(sync() && sync(Any));
    reopen();
    EXPECT_EQ(get("name") + get("added", Any) + get("mine", Any), "aliceby the othertoo");
}

TEST_F(Preferences, WriterKilledWhileSavingLeavesAWholeStateAndNoLockStopsTheNextSave)
{
    // Every key of a state holds a large value naming the round it was saved in.
    auto value = [](int round, int key) {
        return QString("%1 ").arg(round) + QString(4000, QChar('a' + key % 26));
    };
    auto saveState = [&](int round) {
        for (int i = 0; i < 40; ++i)
            set(QString("key %1").arg(i), value(round, i));
        return sync();
    };
    // The round every key of the store belongs to, or -1 when they disagree or one is cut.
    auto roundOfStore = [&] {
        const int round = QString::fromStdString(get("key 0")).section(' ', 0, 0).toInt();
        for (int i = 0; i < 40; ++i)
            if (get(QString("key %1").arg(i)) != value(round, i).toStdString())
                return -1;
        return round;
    };
    // Locks left by another program with the writer's process id, or by a writer on another
    // computer long ago or just now (its owner cannot be checked from here; only its age tells).
    const QByteArray elsewhere = "4242\nveltra-print\nanother-computer.example\n";
    const std::pair<QByteArray, int> locks[] = {
        {"1\nsome-other-program\n" + QSysInfo::machineHostName().toUtf8(), 0},
        {elsewhere, 60},
        {elsewhere, 0}};
    ASSERT_TRUE(saveState(0));
    int lastRound = 0;
    const int delaysMs[] = {1, 3, 7, 15, 30, 60, 120, 250};
    for (size_t run = 0; run < std::size(delaysMs); ++run) {
        SCOPED_TRACE(delaysMs[run]);
        const pid_t writer = startChild([&] {
            reopen();
            for (int round = lastRound + 1;; ++round)
                saveState(round);
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(delaysMs[run]));
        ::kill(writer, SIGKILL);
        EXPECT_EQ(waitFor(writer), -1);
        StderrCapture capture;
        reopen();
        const int round = roundOfStore();
        EXPECT_GE(round, lastRound) << "the file holds every key of one round";
        EXPECT_FALSE(has(capture.text(), "damaged"));
        EXPECT_TRUE(setAside(User).isEmpty());
        // Nor does the lock the killed writer may have left (even an empty one).
        if (run < std::size(locks)) {
            QFile lock(file(User) + ".lock");
            ASSERT_TRUE(lock.open(QIODevice::WriteOnly) && lock.write(locks[run].first) > 0);
            lock.setFileTime(QDateTime::currentDateTime().addSecs(-locks[run].second),
                             QFile::FileModificationTime);
        }
        lastRound = std::max(round, lastRound) + 1;
        ASSERT_TRUE(saveState(lastRound));
        reopen();
        EXPECT_EQ(roundOfStore(), lastRound);
    }
}

TEST_F(Preferences, ConcurrentWritersLoseNeitherOnesValuesAndEachSaveLooksNew)
{
    auto writer = [&](char name) {
        return startChild([&, name] {
            reopen();
            for (int round = 1; round <= 60; ++round) {
                for (int i = 0; i < 8; ++i)
                    set(QString("%1 %2").arg(name).arg(i), QString::number(round));
                if (!sync())
                    return 1;
            }
            return 0;
        });
    };
    const pid_t first = writer('A'), second = writer('B');
    EXPECT_EQ(waitFor(first) | waitFor(second), 0) << "both writers saved every round";
    reopen();
    for (const char *name : {"A", "B"})
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(get(QString("%1 %2").arg(name).arg(i)), "60") << name << i;
    // Others notice a save by the file's size and modification time: saves of the same size
    // within one clock tick must still differ in time, or a writer would merge stale values.
    for (qint64 round = 0, previous = -1; round < 30; ++round) {
        set("key", QString("value %1").arg(round % 10));
        ASSERT_TRUE(sync());
        const qint64 stamp = QFileInfo(file(User)).lastModified().toMSecsSinceEpoch();
        EXPECT_GT(stamp, previous) << "save " << round;
        previous = stamp;
    }
}

} // namespace

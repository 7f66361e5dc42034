// The preference store as the panes use it: string values under opaque keys in two scopes,
// private files, damaged files kept aside, a shared store only administrators change, batches
// of writes, and several processes saving to one store.
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPreferences.h"
#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/CFRef.h"
#include "CoreFoundation/CFString.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

enum Scope
{
    User,
    Any
};
const Scope kScopes[] = {User, Any};

CFStringRef userOf(Scope s)
{
    return s == User ? kCFPreferencesCurrentUser : kCFPreferencesAnyUser;
}

CFRef<CFStringRef> cf(const QString &text)
{
    return CFRef<CFStringRef>(CFStringCreateWithQString(text));
}

void put(const QString &key, CFPropertyListRef value, Scope s = User)
{
    CFPreferencesSetValue(cf(key), value, kCFPreferencesAnyApplication, userOf(s),
                          kCFPreferencesCurrentHost);
}

void set(const QString &key, const QString &value, Scope s = User)
{
    put(key, cf(value), s);
}

// The stored string as UTF-8, or "<absent>" when the key is missing or holds another type.
std::string get(const QString &key, Scope s = User)
{
    CFRef<CFPropertyListRef> value(CFPreferencesCopyValue(cf(key), kCFPreferencesAnyApplication,
                                                          userOf(s), kCFPreferencesCurrentHost));
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return "<absent>";
    return QStringFromCF(static_cast<CFStringRef>(value.get())).toStdString();
}

bool sync(Scope s = User)
{
    return CFPreferencesSynchronize(kCFPreferencesAnyApplication, userOf(s),
                                    kCFPreferencesCurrentHost);
}

void useStoreFiles(const QString &user, const QString &any)
{
    VeltraPreferencesSetStoreFiles(user.isEmpty() ? nullptr : QFile::encodeName(user).constData(),
                                   any.isEmpty() ? nullptr : QFile::encodeName(any).constData());
}

// Two stores in a fresh temporary directory, made current on construction.
struct Stores
{
    Stores() { reopen(); }
    ~Stores() { VeltraPreferencesSetStoreFiles(nullptr, nullptr); }
    // Cached state is dropped and the files are reread, as in a new process.
    void reopen() const { useStoreFiles(file(User), file(Any)); }
    QString file(Scope s) const
    {
        return dir.filePath(s == User ? "home/veltra-pde/preferences.conf"
                                      : "etc/veltra-pde/preferences.conf");
    }
    QString folder(Scope s) const { return QFileInfo(file(s)).absolutePath(); }
    QTemporaryDir dir;
};

// Collects what is written to stderr while it lives; text() ends the capture.
class StderrCapture
{
public:
    StderrCapture() : m_file(std::tmpfile())
    {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StderrCapture()
    {
        text();
        std::fclose(m_file);
    }
    QString text()
    {
        if (m_saved >= 0) {
            std::fflush(stderr);
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
            m_saved = -1;
        }
        QFile in;
        in.open(fileno(m_file), QIODevice::ReadOnly);
        in.seek(0);
        return QString::fromLocal8Bit(in.readAll());
    }

private:
    std::FILE *m_file;
    int m_saved;
};

// Runs work in a forked child that leaves with work's answer as its exit status.
pid_t startChild(const std::function<int()> &work)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        _exit(work());
    return pid;
}

// The child's exit status, or -1 when it did not exit normally.
int waitFor(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes, mode_t mode = 0600)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);
}

struct stat statOf(const QString &path)
{
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

mode_t modeOf(const QString &path)
{
    return statOf(path).st_mode & 07777;
}

void chmodTo(const QString &path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

QStringList setAside(const QString &storeFile)
{
    const QFileInfo info(storeFile);
    return info.dir().entryList({info.fileName() + ".damaged-*"}, QDir::Files);
}

TEST(PreferenceValues, EveryKeyReadsBackExactlyPendingSavedAndInANewSession)
{
    const UniChar lone[] = {u'a', 0xD800, u'b'};
    const QStringList keys = {
        "/",
        "//",
        "a//b",
        "a/b",
        "/leading",
        "trailing/",
        "\\",
        "a\\b",
        "a\\\\b",
        " ",
        " spaced key ",
        "=",
        "a=b=c",
        "[General]",
        "General",
        "general",
        "#comment",
        ";semi",
        "\"quoted\"",
        "%41 percent",
        "~0041 tilde",
        "k",
        "kk",
        "line\nbreak",
        "tab\there",
        "carriage\rreturn",
        QString(QChar(0)) + "nul",
        "caf\u00e9",
        "\u30d7\u30ea/\u7528\u7d19",
        "\xF0\x9F\x96\xA8 printer",
        "Case",
        "case",
        QStringFromCF(CFRef<CFStringRef>(CFStringCreateWithCharacters(nullptr, lone, 3))),
        QString(),
        "ipp://printer.local:631/printers/Office_1com.veltra.kzu.printsettings.PrintTypeReference"};
    auto valueOf = [](qsizetype i) { return QString("value %1 /\\= \u00e9").arg(i).toStdString(); };
    for (Scope scope : kScopes) {
        Stores stores;
        for (qsizetype i = 0; i < keys.size(); ++i)
            set(keys[i], QString::fromStdString(valueOf(i)), scope);
        for (const char *when : {"pending", "saved", "reopened"}) {
            if (when[0] == 's') {
                ASSERT_TRUE(sync(scope));
            }
            if (when[0] == 'r')
                stores.reopen();
            for (qsizetype i = 0; i < keys.size(); ++i)
                EXPECT_EQ(get(keys[i], scope), valueOf(i))
                    << when << ", scope " << scope << ", key " << keys[i].toUtf8().toHex().data();
        }
        EXPECT_EQ(get("a", scope), "<absent>") << "no key is folded into another";
    }
}

TEST(PreferenceValues, ValuesOfEveryPropertyListTypeSurviveInBothScopes)
{
    const SInt32 number = -42;
    const double real = 0.1;
    const UInt8 bytes[] = {0, 1, 0xFE, 0xFF};
    const UniChar oddUnits[] = {u'x', 0xDC00, u'=', u'\n'};
    CFRef<CFNumberRef> cfNumber(CFNumberCreate(nullptr, kCFNumberSInt32Type, &number));
    CFRef<CFNumberRef> cfReal(CFNumberCreate(nullptr, kCFNumberFloat64Type, &real));
    CFRef<CFDataRef> cfData(CFDataCreate(nullptr, bytes, sizeof bytes));
    CFRef<CFStringRef> cfOdd(CFStringCreateWithCharacters(nullptr, oddUnits, 4));
    const std::pair<const char *, CFPropertyListRef> values[] = {
        {"number", cfNumber.get()}, {"real", cfReal.get()}, {"true", kCFBooleanTrue},
        {"false", kCFBooleanFalse}, {"data", cfData.get()}, {"odd string", cfOdd.get()},
        {"empty string", CFSTR("")}};
    for (Scope scope : kScopes) {
        Stores stores;
        for (const auto &[key, value] : values)
            put(key, value, scope);
        ASSERT_TRUE(sync(scope));
        stores.reopen();
        for (const auto &[key, value] : values) {
            CFRef<CFPropertyListRef> stored(CFPreferencesCopyValue(
                cf(key), kCFPreferencesAnyApplication, userOf(scope), kCFPreferencesCurrentHost));
            ASSERT_TRUE(stored) << key;
            EXPECT_EQ(CFGetTypeID(stored), CFGetTypeID(value)) << key;
            EXPECT_TRUE(CFEqual(stored, value)) << key;
        }
    }
}

TEST(PreferenceValues, ScopesAreSeparateStoresThatHoldOnlyWhatWasSaved)
{
    Stores stores;
    set("mode", "0", Any);
    set("mode", "1", User);
    set("gone", "soon");
    // Any host names the same store as the current host.
    CFPreferencesSetValue(CFSTR("host"), CFSTR("any"), kCFPreferencesAnyApplication,
                          kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    EXPECT_EQ(get("host"), "any");
    EXPECT_FALSE(QFileInfo::exists(stores.file(User))) << "nothing is written before Synchronize";
    ASSERT_TRUE(sync(Any));
    ASSERT_TRUE(CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                                         kCFPreferencesAnyHost));
    // A null value removes the key; unsaved changes are seen in this process only.
    put("gone", nullptr);
    set("pending", "yes");
    EXPECT_EQ(get("gone"), "<absent>");
    EXPECT_EQ(get("pending"), "yes");
    stores.reopen();
    EXPECT_EQ(get("mode", Any), "0");
    EXPECT_EQ(get("mode", User), "1");
    EXPECT_EQ(get("host"), "any");
    EXPECT_EQ(get("gone"), "soon");
    EXPECT_EQ(get("pending"), "<absent>");
    put("gone", nullptr);
    ASSERT_TRUE(sync());
    stores.reopen();
    EXPECT_EQ(get("gone"), "<absent>");
    EXPECT_EQ(get("mode", User), "1");
}

TEST(PreferenceValues, ValuesOfOtherTypesAndOtherDomainsAreRefused)
{
    Stores stores;
    const void *items[] = {CFSTR("a")};
    CFRef<CFArrayRef> array(CFArrayCreate(nullptr, items, 1, &kCFTypeArrayCallBacks));
    StderrCapture capture;
    put("array", array);
    EXPECT_FALSE(CFPreferencesCopyValue(CFSTR("array"), kCFPreferencesAnyApplication,
                                        kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
    CFPreferencesSetValue(CFSTR("key"), CFSTR("v"), CFSTR("com.example.other"),
                          kCFPreferencesCurrentUser, kCFPreferencesCurrentHost);
    EXPECT_FALSE(CFPreferencesCopyValue(CFSTR("key"), CFSTR("com.example.other"),
                                        kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
    EXPECT_FALSE(CFPreferencesSynchronize(kCFPreferencesAnyApplication, CFSTR("someone"),
                                          kCFPreferencesCurrentHost));
    EXPECT_FALSE(CFPreferencesCopyValue(nullptr, kCFPreferencesAnyApplication,
                                        kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
    CFPreferencesSetValue(nullptr, CFSTR("v"), kCFPreferencesAnyApplication,
                          kCFPreferencesCurrentUser, kCFPreferencesCurrentHost);
    EXPECT_TRUE(capture.text().contains("cannot be stored")) << capture.text().toStdString();
    EXPECT_EQ(get("key"), "<absent>");
}

TEST(PreferenceFiles, DefaultStoresFollowTheXDGDirectories)
{
    QTemporaryDir dir;
    const char *names[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};
    const QByteArray saved[] = {qgetenv(names[0]), qgetenv(names[1])};
    const bool wasSet[] = {qEnvironmentVariableIsSet(names[0]),
                           qEnvironmentVariableIsSet(names[1])};
    qputenv(names[0], QFile::encodeName(dir.filePath("config")));
    qputenv(names[1], QFile::encodeName(dir.filePath("xdg")) + ":/etc/xdg");
    VeltraPreferencesSetStoreFiles(nullptr, nullptr);
    set("key", "mine", User);
    set("key", "everyone's", Any);
    EXPECT_TRUE(sync(User) && sync(Any));
    EXPECT_EQ(readAll(dir.filePath("config/veltra-pde/preferences.conf")).count("mine"), 1);
    EXPECT_EQ(readAll(dir.filePath("xdg/veltra-pde/preferences.conf")).count("everyone's"), 1);
    for (int i = 0; i < 2; ++i)
        wasSet[i] ? qputenv(names[i], saved[i]) : qunsetenv(names[i]);
    VeltraPreferencesSetStoreFiles(nullptr, nullptr);
}

TEST(PreferenceFiles, CurrentUserFileIsPrivateFromItsCreationAndReadableText)
{
    // With no umask at all, anything created with default permissions would be world-readable.
    const mode_t savedMask = ::umask(0);
    Stores stores;
    set("Office/1com.veltra.kzu.printsettings.UserNameReference", "J\u00fcrgen");
    ASSERT_TRUE(sync());
    EXPECT_EQ(modeOf(stores.file(User)), mode_t(0600));
    EXPECT_EQ(modeOf(stores.folder(User)), mode_t(0700));
    const QByteArray text = readAll(stores.file(User));
    EXPECT_TRUE(text.startsWith("veltra-pde preferences 1\n")) << text.constData();
    EXPECT_TRUE(text.contains("\nOffice/1com.veltra.kzu.printsettings.UserNameReference=string:"
                              "J\xC3\xBCrgen\n"))
        << text.constData();
    // Later saves replace the file and keep its mode; the shared store is read by everyone.
    set("Office/1com.veltra.kzu.printsettings.UserNameReference", "bob");
    set("Printer1AccountModeReference", "1", Any);
    ASSERT_TRUE(sync(User) && sync(Any));
    EXPECT_EQ(modeOf(stores.file(User)), mode_t(0600));
    EXPECT_EQ(modeOf(stores.file(Any)) & 0044, mode_t(0044));
    ::umask(savedMask);
}

TEST(PreferenceFiles, DamagedStoreIsKeptAsideAndReadsAsEmpty)
{
    const std::pair<const char *, QByteArray> cases[] = {
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
    for (const auto &[name, content] : cases) {
        for (Scope scope : kScopes) {
            SCOPED_TRACE(testing::Message() << name << ", scope " << scope);
            Stores stores;
            const QString file = stores.file(scope);
            writeFile(file, content, scope == User ? 0600 : 0644);
            stores.reopen();
            StderrCapture capture;
            EXPECT_EQ(get("key", scope), "<absent>");
            const QString messages = capture.text();
            EXPECT_TRUE(messages.contains("is damaged") && messages.contains("kept as") &&
                        messages.contains(file))
                << messages.toStdString();
            const QStringList aside = setAside(file);
            ASSERT_EQ(aside.size(), 1);
            EXPECT_EQ(readAll(stores.folder(scope) + "/" + aside.first()), content)
                << "the damaged bytes are kept unchanged";

            set("key", "fresh", scope);
            ASSERT_TRUE(sync(scope));
            stores.reopen();
            EXPECT_EQ(get("key", scope), "fresh");
            EXPECT_EQ(setAside(file).size(), 1) << "the new file is not damaged";
            EXPECT_EQ(modeOf(file), scope == User ? mode_t(0600) : modeOf(file));
        }
    }
}

TEST(PreferenceFiles, DamageFoundWhileSavingIsKeptAsideButAnEmptyFileIsNoDamage)
{
    Stores stores;
    set("before", "1");
    ASSERT_TRUE(sync());
    // Another program damages the file while this session has it open.
    writeFile(stores.file(User), "not a preferences file at all\n");
    set("after", "2");
    StderrCapture capture;
    ASSERT_TRUE(sync());
    EXPECT_TRUE(capture.text().contains("is damaged"));
    ASSERT_EQ(setAside(stores.file(User)).size(), 1);
    stores.reopen();
    EXPECT_EQ(get("after"), "2");
    EXPECT_EQ(get("before"), "<absent>");
    EXPECT_EQ(modeOf(stores.file(User)), mode_t(0600));

    writeFile(stores.file(Any), QByteArray());
    stores.reopen();
    StderrCapture quiet;
    EXPECT_EQ(get("key", Any), "<absent>");
    EXPECT_TRUE(quiet.text().isEmpty());
    EXPECT_TRUE(setAside(stores.file(Any)).isEmpty());
}

TEST(PreferenceFiles, SharedStoreThatCannotBeWrittenKeepsItsValues)
{
    Stores stores;
    set("Printer1AccountModeReference", "0", Any);
    ASSERT_TRUE(sync(Any));
    const QString file = stores.file(Any), directory = stores.folder(Any);
    const QByteArray before = readAll(file);
    // As an administrator would leave it: readable by all, writable by nobody else.
    const bool asRoot = ::geteuid() == 0;
    const struct passwd *nobody = ::getpwnam("nobody");
    if (asRoot && !nobody)
        GTEST_SKIP() << "no unprivileged user to save as";
    chmodTo(stores.dir.path(), 0755);
    chmodTo(QFileInfo(directory).absolutePath(), 0755);
    chmodTo(directory, 0555);
    chmodTo(file, 0444);
    // The child answers one bit for each thing it saw as expected.
    const int seen = waitFor(startChild([&] {
        if (asRoot && (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0))
            return 0;
        stores.reopen();
        StderrCapture capture;
        const bool readOld = get("Printer1AccountModeReference", Any) == "0";
        set("Printer1AccountModeReference", "1", Any);
        const bool refused = !sync(Any) && !sync(Any);
        const bool pending = get("Printer1AccountModeReference", Any) == "1";
        const QString messages = capture.text();
        const bool toldOnce =
            messages.count("cannot save preferences") == 1 && messages.contains("administrator");
        return readOld | refused << 1 | pending << 2 | toldOnce << 3;
    }));
    EXPECT_EQ(seen, 15) << "bits: 1 read the shared store, 2 save refused, 4 refused value "
                           "still pending in that session, 8 one message naming administrators";
    chmodTo(directory, 0755);
    chmodTo(file, 0644);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(QDir(directory).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary or lock file left behind";
    stores.reopen();
    EXPECT_EQ(get("Printer1AccountModeReference", Any), "0");
}

TEST(PreferenceBatch, SavesEachStoreOnceWhenTheOutermostBatchEnds)
{
    QTemporaryDir dir;
    const QString userFile = dir.filePath("home/veltra-pde/preferences.conf");
    // The any-user store's directory cannot be made: its parent is a plain file.
    writeFile(dir.filePath("etc"), "");
    useStoreFiles(userFile, dir.filePath("etc/veltra-pde/preferences.conf"));
    StderrCapture errors;
    VeltraPreferencesBeginBatch();
    set("Printer1UserNameReference", "alice");
    EXPECT_TRUE(sync());
    VeltraPreferencesBeginBatch();
    set("Printer1PasscodeReference", "1234");
    EXPECT_TRUE(sync());
    set("Printer1ManageTypeReference", "0", Any);
    EXPECT_FALSE(sync(Any));
    EXPECT_TRUE(VeltraPreferencesEndBatch());
    EXPECT_FALSE(QFile::exists(userFile)) << "saved before the outermost batch ended";
    EXPECT_EQ(get("Printer1PasscodeReference"), "1234");
    EXPECT_FALSE(VeltraPreferencesEndBatch());
    EXPECT_TRUE(errors.text().contains("cannot save preferences to"));

    // As a new process sees them: the current user's values, saved in one file.
    useStoreFiles(userFile, dir.filePath("etc/veltra-pde/preferences.conf"));
    EXPECT_EQ(get("Printer1UserNameReference"), "alice");
    EXPECT_EQ(get("Printer1PasscodeReference"), "1234");
    EXPECT_EQ(get("Printer1ManageTypeReference", Any), "<absent>");
    // Outside a batch, a write is saved by its own synchronisation again.
    set("Printer2UserNameReference", "bob");
    EXPECT_TRUE(sync());
    useStoreFiles(userFile, {});
    EXPECT_EQ(get("Printer2UserNameReference"), "bob");
    VeltraPreferencesSetStoreFiles(nullptr, nullptr);
}

TEST(PreferenceBatch, UnchangedValuesAreNotSavedAgainUnlessAnotherProcessChangedThem)
{
    Stores stores;
    set("Printer1UserNameReference", "alice");
    ASSERT_TRUE(sync());
    // Each save replaces the file with a new one.
    const ino_t saved = statOf(stores.file(User)).st_ino;
    set("Printer1UserNameReference", "alice");
    EXPECT_TRUE(sync());
    EXPECT_EQ(statOf(stores.file(User)).st_ino, saved);
    // Another process saves another value; writing ours again must win over it.
    ASSERT_EQ(waitFor(startChild([&] {
                  stores.reopen();
                  set("Printer1UserNameReference", "carol");
                  return sync() ? 0 : 1;
              })),
              0);
    set("Printer1UserNameReference", "alice");
    EXPECT_TRUE(sync());
    stores.reopen();
    EXPECT_EQ(get("Printer1UserNameReference"), "alice");
}

constexpr int kKeysPerState = 40;

// Every key of a state holds a large value naming the round it was saved in.
QString stateValue(int round, int key)
{
    return QString("round %1 key %2 ").arg(round).arg(key) + QString(4000, QChar(u'a' + key % 26));
}

bool saveState(int round)
{
    for (int i = 0; i < kKeysPerState; ++i)
        set(QString("Printer %1/Reference").arg(i), stateValue(round, i));
    return sync();
}

// The round every key of the store belongs to, or -1 when they disagree or a value is not whole.
int roundOfStore()
{
    int round = -1;
    for (int i = 0; i < kKeysPerState; ++i) {
        const QString value = QString::fromStdString(get(QString("Printer %1/Reference").arg(i)));
        const int valueRound = value.section(u' ', 1, 1).toInt();
        if (value != stateValue(valueRound, i) || (round >= 0 && valueRound != round))
            return -1;
        round = valueRound;
    }
    return round;
}

TEST(PreferenceProcesses, WriterKilledWhileSavingLeavesAWholeState)
{
    Stores stores;
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
        EXPECT_EQ(waitFor(writer), -1);
        StderrCapture capture;
        stores.reopen();
        const int round = roundOfStore();
        EXPECT_GE(round, lastRound) << "the file holds every key of one round";
        EXPECT_FALSE(capture.text().contains("damaged"));
        EXPECT_TRUE(setAside(stores.file(User)).isEmpty());
        // The lock the killed writer may have left (even an empty one, when it was killed while
        // creating it) does not stop the next save.
        lastRound = std::max(round, lastRound) + 1;
        ASSERT_TRUE(saveState(lastRound));
        stores.reopen();
        EXPECT_EQ(roundOfStore(), lastRound);
    }
}

TEST(PreferenceProcesses, ConcurrentWritersLoseNeitherOnesValues)
{
    Stores stores;
    auto key = [](char writer, int i) { return QString("%1 writer/key %2").arg(writer).arg(i); };
    auto value = [](char writer, int round) {
        return QString("%1 round %2").arg(writer).arg(round);
    };
    auto writerLoop = [&](char writer) {
        return [&, writer] {
            stores.reopen();
            for (int round = 1; round <= 60; ++round) {
                for (int i = 0; i < 8; ++i)
                    set(key(writer, i), value(writer, round));
                if (!sync())
                    return 1;
            }
            return 0;
        };
    };
    const pid_t first = startChild(writerLoop('A'));
    const pid_t second = startChild(writerLoop('B'));
    EXPECT_EQ(waitFor(first), 0);
    EXPECT_EQ(waitFor(second), 0);
    stores.reopen();
    for (char writer : {'A', 'B'}) {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(get(key(writer, i)), value(writer, 60).toStdString()) << writer << i;
    }
}

TEST(PreferenceProcesses, EverySaveIsDistinguishableFromThePreviousOne)
{
    // Other processes notice a save by the file's size and modification time; saves of the
    // same size within one clock tick must still differ in time, or another writer would merge
    // into stale values.
    Stores stores;
    qint64 previous = -1;
    for (int round = 0; round < 30; ++round) {
        set("key", QString("value %1").arg(round % 10));
        ASSERT_TRUE(sync());
        const qint64 stamp = QFileInfo(stores.file(User)).lastModified().toMSecsSinceEpoch();
        EXPECT_GT(stamp, previous) << "save " << round;
        previous = stamp;
    }
}

TEST(PreferenceProcesses, SynchronizeReadsWhatAnotherProcessSavedAndMergesWithIt)
{
    Stores stores;
    set("shared", "first", Any);
    ASSERT_TRUE(sync(Any));
    ASSERT_EQ(waitFor(startChild([&] {
                  stores.reopen();
                  set("shared", "second", Any);
                  set("added", "by the other", Any);
                  return sync(Any) ? 0 : 1;
              })),
              0);
    EXPECT_EQ(get("shared", Any), "first") << "values are reread at synchronisation";
    ASSERT_TRUE(sync(Any));
    EXPECT_EQ(get("shared", Any), "second");
    EXPECT_EQ(get("added", Any), "by the other");
    // Our own pending change merges with theirs instead of replacing the file.
    set("mine", "too", Any);
    ASSERT_TRUE(sync(Any));
    stores.reopen();
    EXPECT_EQ(get("added", Any), "by the other");
    EXPECT_EQ(get("mine", Any), "too");
}

TEST(PreferenceProcesses, LockLeftBehindDoesNotBlockTheNextSave)
{
    auto writeLock = [](const QString &path, const QByteArray &text, int ageSeconds) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.flush();
        file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                         QFileDevice::FileModificationTime);
    };
    const std::pair<const char *, std::function<void(const QString &)>> cases[] = {
        {"killed writer",
         [](const QString &path) {
             waitFor(startChild([&] {
                 QLockFile lock(path);
                 return lock.lock() ? ::raise(SIGKILL) : 1;
             }));
         }},
        {"process id now used by another program",
         [&](const QString &path) {
             writeLock(path, "1\nsome-other-program\n" + QSysInfo::machineHostName().toUtf8(), 0);
         }},
        {"writer on another computer, long ago",
         [&](const QString &path) {
             writeLock(path, "4242\nveltra-print\nanother-computer.example\n", 60);
         }},
        // Its owner cannot be checked from here; only its age tells.
        {"writer on another computer, just now",
         [&](const QString &path) {
             writeLock(path, "4242\nveltra-print\nanother-computer.example\n", 0);
         }},
    };
    for (const auto &[name, leave] : cases) {
        SCOPED_TRACE(name);
        Stores stores;
        set("before", "1");
        ASSERT_TRUE(sync());
        leave(stores.file(User) + ".lock");
        ASSERT_TRUE(QFileInfo::exists(stores.file(User) + ".lock"));
        set("after", "2");
        ASSERT_TRUE(sync());
        stores.reopen();
        EXPECT_EQ(get("after"), "2");
        EXPECT_EQ(get("before"), "1");
    }
}

} // namespace

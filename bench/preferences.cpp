// Time of one preference save (set and synchronise one key of a store of about 40 keys, as a
// control does at every Sync towards the job) and of one preference read.
#include <CoreFoundation/CFPreferences.h>
#include <CoreFoundation/CFQt.h>
#include <CoreFoundation/CFRef.h>
#include <CoreFoundation/CFString.h>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kStoredKeys = 40;

CFRef<CFStringRef> keyFor(int i)
{
    return CFRef<CFStringRef>(CFStringCreateWithQString(
        QStringLiteral("ipp://printer.local/printers/Office_%1com.veltra.kzu.printsettings."
                       "UserNameReference")
            .arg(i)));
}

// A current-user store in a temporary directory, filled with kStoredKeys saved values.
class FilledStore
{
public:
    FilledStore()
    {
        const QByteArray file = QFile::encodeName(m_dir.filePath(QStringLiteral("prefs.conf")));
        const QByteArray shared = QFile::encodeName(m_dir.filePath(QStringLiteral("all.conf")));
        VeltraPreferencesSetStoreFiles(file.constData(), shared.constData());
        for (int i = 0; i < kStoredKeys; ++i) {
            CFRef<CFStringRef> value(
                CFStringCreateWithQString(QStringLiteral("user name %1").arg(i)));
            CFPreferencesSetValue(keyFor(i), value, kCFPreferencesAnyApplication,
                                  kCFPreferencesCurrentUser, kCFPreferencesCurrentHost);
        }
        m_ok = CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                                        kCFPreferencesCurrentHost);
    }
    ~FilledStore() { VeltraPreferencesSetStoreFiles(nullptr, nullptr); }
    bool ok() const { return m_ok; }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

void BM_SaveOnePreference(benchmark::State &state)
{
    FilledStore store;
    if (!store.ok()) {
        state.SkipWithError("the store cannot be saved");
        return;
    }
    CFRef<CFStringRef> key = keyFor(kStoredKeys / 2);
    int round = 0;
    for (auto _ : state) {
        CFRef<CFStringRef> value(CFStringCreateWithQString(QString::number(++round % 2)));
        CFPreferencesSetValue(key, value, kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                              kCFPreferencesCurrentHost);
        if (!CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                                      kCFPreferencesCurrentHost)) {
            state.SkipWithError("a save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveOnePreference);

void BM_CopyOnePreference(benchmark::State &state)
{
    FilledStore store;
    if (!store.ok()) {
        state.SkipWithError("the store cannot be saved");
        return;
    }
    CFRef<CFStringRef> key = keyFor(kStoredKeys / 2);
    for (auto _ : state) {
        CFRef<CFPropertyListRef> value(CFPreferencesCopyValue(key, kCFPreferencesAnyApplication,
                                                              kCFPreferencesCurrentUser,
                                                              kCFPreferencesCurrentHost));
        benchmark::DoNotOptimize(value.get());
    }
}
BENCHMARK(BM_CopyOnePreference);

} // namespace

BENCHMARK_MAIN();

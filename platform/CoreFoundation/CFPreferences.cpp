// CFPreferences: the current-user store and the any-user store.
#include "CFPreferences.h"

#include "CFInternal.h"
#include "CFNumber.h"
#include "CFString.h"
#include "PreferenceStore.h"

#include <QDir>
#include <QMutex>

#include <algorithm>
#include <cstdio>
#include <vector>

const CFStringRef kCFPreferencesAnyApplication = CFSTR("kCFPreferencesAnyApplication");
const CFStringRef kCFPreferencesCurrentApplication = CFSTR("kCFPreferencesCurrentApplication");
const CFStringRef kCFPreferencesAnyHost = CFSTR("kCFPreferencesAnyHost");
const CFStringRef kCFPreferencesCurrentHost = CFSTR("kCFPreferencesCurrentHost");
const CFStringRef kCFPreferencesAnyUser = CFSTR("kCFPreferencesAnyUser");
const CFStringRef kCFPreferencesCurrentUser = CFSTR("kCFPreferencesCurrentUser");

namespace {

constexpr char kStoreFileName[] = "veltra-pde/preferences.conf";

struct PreferenceStores
{
    QMutex mutex;
    QString currentUserFile; // empty: the default
    QString anyUserFile;
    std::unique_ptr<PreferenceStore> currentUser;
    std::unique_ptr<PreferenceStore> anyUser;
    bool reportedUnknownDomain = false;
    int batchDepth = 0;
    // Stores synchronised inside the current batch, saved when it ends.
    std::vector<PreferenceStore *> batched;
};

// The stores live until the process ends and are never destroyed: a store saves nothing on
// its own, and destroying QSettings objects after Qt's own globals are gone is not safe.
PreferenceStores &stores()
{
    static PreferenceStores &instance = *new PreferenceStores;
    return instance;
}

QString defaultCurrentUserFile()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + u'/' + QLatin1StringView(kStoreFileName);
}

QString defaultAnyUserFile()
{
    QString base = QStringLiteral("/etc/xdg");
    const QStringList dirs =
        qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts);
    if (!dirs.isEmpty() && QDir::isAbsolutePath(dirs.first()))
        base = dirs.first();
    return base + u'/' + QLatin1StringView(kStoreFileName);
}

// The store of a (application, user, host) triple, or null for one this program has not got.
// Called with the mutex held.
PreferenceStore *storeFor(CFStringRef applicationID, CFStringRef userName, CFStringRef hostName)
{
    PreferenceStores &s = stores();
    const bool knownApplication = CFEqual(applicationID, kCFPreferencesAnyApplication) ||
                                  CFEqual(applicationID, kCFPreferencesCurrentApplication);
    const bool knownHost =
        CFEqual(hostName, kCFPreferencesCurrentHost) || CFEqual(hostName, kCFPreferencesAnyHost);
    const bool currentUser = CFEqual(userName, kCFPreferencesCurrentUser);
    const bool anyUser = CFEqual(userName, kCFPreferencesAnyUser);
    if (!knownApplication || !knownHost || (!currentUser && !anyUser)) {
        if (!s.reportedUnknownDomain) {
            s.reportedUnknownDomain = true;
            std::fprintf(stderr, "veltra-pde: preferences are kept for any application and this "
                                 "host, for the current user or any user only\n");
        }
        return nullptr;
    }
    if (currentUser) {
        if (!s.currentUser)
            s.currentUser = std::make_unique<PreferenceStore>(
                s.currentUserFile.isEmpty() ? defaultCurrentUserFile() : s.currentUserFile,
                PreferenceStore::Sharing::PrivateToUser);
        return s.currentUser.get();
    }
    if (!s.anyUser)
        s.anyUser = std::make_unique<PreferenceStore>(s.anyUserFile.isEmpty() ? defaultAnyUserFile()
                                                                              : s.anyUserFile,
                                                      PreferenceStore::Sharing::AllUsers);
    return s.anyUser.get();
}

// The stored form of a property-list value; nothing for a type the stores do not keep.
std::optional<QVariant> variantFromCF(CFPropertyListRef value)
{
    if (const __CFString *string = CFRuntimeCast<__CFString>(value))
        return QVariant(string->text);
    if (const __CFNumber *number = CFRuntimeCast<__CFNumber>(value))
        return number->isFloat ? QVariant(number->real) : QVariant(qlonglong(number->integer));
    if (const __CFBoolean *boolean = CFRuntimeCast<__CFBoolean>(value))
        return QVariant(boolean->value);
    if (const __CFData *data = CFRuntimeCast<__CFData>(value))
        return QVariant(data->bytes);
    return std::nullopt;
}

CFPropertyListRef createCFFromVariant(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return CFRuntimeCreateString(value.toString());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return CFRuntimeCreate<__CFNumber>(SInt64(value.toLongLong()));
    case QMetaType::Double:
        return CFRuntimeCreate<__CFNumber>(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? kCFBooleanTrue : kCFBooleanFalse;
    case QMetaType::QByteArray:
        return CFRuntimeCreate<__CFData>(value.toByteArray());
    default:
        return nullptr;
    }
}

} // namespace

void CFPreferencesSetValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID,
                           CFStringRef userName, CFStringRef hostName)
{
    const __CFString *keyString = CFRuntimeCast<__CFString>(key);
    if (!keyString)
        return;
    std::optional<QVariant> stored;
    if (value) {
        stored = variantFromCF(value);
        if (!stored) {
            std::fprintf(stderr,
                         "veltra-pde: preference %s not set: a %s cannot be stored (only "
                         "strings, numbers, booleans and data)\n",
                         keyString->text.toLocal8Bit().constData(),
                         CFRuntimeTypeName(CFGetTypeID(value)));
            return;
        }
    }
    PreferenceStores &s = stores();
    QMutexLocker locker(&s.mutex);
    if (PreferenceStore *store = storeFor(applicationID, userName, hostName))
        store->setValue(keyString->text, std::move(stored));
}

CFPropertyListRef CFPreferencesCopyValue(CFStringRef key, CFStringRef applicationID,
                                         CFStringRef userName, CFStringRef hostName)
{
    const __CFString *keyString = CFRuntimeCast<__CFString>(key);
    if (!keyString)
        return nullptr;
    PreferenceStores &s = stores();
    QMutexLocker locker(&s.mutex);
    PreferenceStore *store = storeFor(applicationID, userName, hostName);
    if (!store)
        return nullptr;
    const std::optional<QVariant> value = store->value(keyString->text);
    return value ? createCFFromVariant(*value) : nullptr;
}

Boolean CFPreferencesSynchronize(CFStringRef applicationID, CFStringRef userName,
                                 CFStringRef hostName)
{
    PreferenceStores &s = stores();
    QMutexLocker locker(&s.mutex);
    PreferenceStore *store = storeFor(applicationID, userName, hostName);
    if (!store)
        return false;
    if (s.batchDepth == 0)
        return store->synchronize();
    if (std::find(s.batched.begin(), s.batched.end(), store) == s.batched.end())
        s.batched.push_back(store);
    return store->canSave();
}

void VeltraPreferencesBeginBatch(void)
{
    PreferenceStores &s = stores();
    QMutexLocker locker(&s.mutex);
    ++s.batchDepth;
}

Boolean VeltraPreferencesEndBatch(void)
{
    PreferenceStores &s = stores();
    QMutexLocker locker(&s.mutex);
    if (s.batchDepth == 0 || --s.batchDepth > 0)
        return true;
    bool saved = true;
    for (PreferenceStore *store : s.batched)
        saved = store->synchronize() && saved;
    s.batched.clear();
    return saved;
}

void VeltraPreferencesSetStoreFiles(const char *currentUserFile, const char *anyUserFile)
{
    PreferenceStores &s = stores();
    QMutexLocker locker(&s.mutex);
    // Unsaved changes go with the cached state.
    s.batched.clear();
    s.currentUser.reset();
    s.anyUser.reset();
    s.currentUserFile = currentUserFile ? QFile::decodeName(currentUserFile) : QString();
    s.anyUserFile = anyUserFile ? QFile::decodeName(anyUserFile) : QString();
}

// Bundles: directories with an Info property list, a module loaded with dlopen and resources.
// An opened bundle stays open (and its module loaded) until the process ends, as the plug-in
// code keeps using the bundle it was loaded from.
#include "CFBundle.h"

#include "CFDictionary.h"
#include "CFInternal.h"
#include "CFPropertyList.h"
#include "CFQt.h"
#include "CFString.h"
#include "CFURL.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <dlfcn.h>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

CFTypeID CFBundleGetTypeID()
{
    static const CFTypeID id = CFRuntimeRegisterType("CFBundle");
    return id;
}

struct __CFBundle final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return CFBundleGetTypeID(); }
    __CFBundle(QString directory, CFRef<CFDictionaryRef> info)
        : __CFRuntimeBase(staticTypeID()), directory(std::move(directory)), info(std::move(info))
    {
        makeImmortal();
    }

    const QString directory; // canonical path of Name.plugin
    const CFRef<CFDictionaryRef> info;
    void *module = nullptr; // dlopen handle

    std::mutex translationsLock;
    // "<table>_<lang>" -> translator; null when there is no such file.
    std::map<QString, std::unique_ptr<QTranslator>> translations;

    QString contentsPath(const QString &relative) const
    {
        return directory + QStringLiteral("/Contents/") + relative;
    }
};

namespace {

std::mutex &registryLock()
{
    static std::mutex lock;
    return lock;
}
// Never destroyed: open bundles outlive every static destructor that might still use them.
std::vector<__CFBundle *> &openBundles()
{
    static auto *bundles = new std::vector<__CFBundle *>;
    return *bundles;
}

std::mutex &languageLock()
{
    static std::mutex lock;
    return lock;
}
QString &chosenLanguage()
{
    static QString language;
    return language;
}

void complain(const QString &message)
{
    std::fprintf(stderr, "veltra: %s\n", message.toLocal8Bit().constData());
}

__CFBundle *bundleObject(CFBundleRef bundle)
{
    return CFRuntimeCastMutable<__CFBundle>(bundle);
}

QString infoString(const __CFBundle *bundle, const char *key)
{
    const CFRef<CFStringRef> keyString(CFRuntimeCreateString(QString::fromLatin1(key)));
    const CFTypeRef value = CFDictionaryGetValue(bundle->info, keyString.get());
    return CFRuntimeStringText(static_cast<CFStringRef>(value));
}

// A resource name part must stay inside the bundle's Resources folder.
bool isSafeRelativePath(const QString &part)
{
    if (part.startsWith(u'/'))
        return false;
    const auto pieces = part.split(u'/', Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        if (piece == u"..")
            return false;
    }
    return true;
}

// The languages to try, most specific first: "ja_JP", then "ja", then the bundle's own
// language (CFBundleDevelopmentRegion, "en" when it names none).
QStringList languageCandidates(const __CFBundle *bundle)
{
    QString language;
    {
        std::lock_guard guard(languageLock());
        language = chosenLanguage();
    }
    if (language.isEmpty())
        language = QLocale::system().name();
    language.replace(u'-', u'_');
    QStringList candidates;
    if (!language.isEmpty() && language != u"C" && language != u"POSIX")
        candidates << language;
    const qsizetype separator = language.indexOf(u'_');
    if (separator > 0)
        candidates << language.left(separator);
    QString development = infoString(bundle, "CFBundleDevelopmentRegion");
    if (development.isEmpty())
        development = QStringLiteral("en");
    if (!candidates.contains(development))
        candidates << development;
    return candidates;
}

// The translator of Resources/translations/<table>_<language>.qm, loaded once; null when
// the bundle has no such file.
QTranslator *translatorFor(__CFBundle *bundle, const QString &table, const QString &language)
{
    const QString name = table + u'_' + language;
    std::lock_guard guard(bundle->translationsLock);
    auto found = bundle->translations.find(name);
    if (found != bundle->translations.end())
        return found->second.get();
    auto translator = std::make_unique<QTranslator>();
    const QString file = bundle->contentsPath(QStringLiteral("Resources/translations/")) + name +
                         QStringLiteral(".qm");
    if (!QFileInfo::exists(file)) {
        translator.reset();
    } else if (!translator->load(file)) {
        complain(QStringLiteral("cannot read the translation file %1").arg(file));
        translator.reset();
    }
    QTranslator *result = translator.get();
    bundle->translations.emplace(name, std::move(translator));
    return result;
}

} // namespace

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL)
{
    const __CFURL *url = CFRuntimeCast<__CFURL>(bundleURL);
    if (!url) {
        complain(QStringLiteral("cannot open a bundle: no bundle location given"));
        return nullptr;
    }
    const QFileInfo location(url->path);
    if (!location.isDir()) {
        complain(QStringLiteral("cannot open the bundle %1: no such directory").arg(url->path));
        return nullptr;
    }
    const QString directory = location.canonicalFilePath();

    std::lock_guard guard(registryLock());
    for (__CFBundle *open : openBundles()) {
        if (open->directory == directory)
            return open;
    }

    const QString plistPath = directory + QStringLiteral("/Contents/Info.plist");
    std::string error;
    CFRef<CFTypeRef> plist(veltra::CreatePropertyListFromXMLFile(plistPath.toStdString(), &error));
    if (!plist) {
        complain(QStringLiteral("cannot open the bundle %1: unreadable Info.plist: %2")
                     .arg(directory, QString::fromStdString(error)));
        return nullptr;
    }
    if (CFGetTypeID(plist) != CFDictionaryGetTypeID()) {
        complain(QStringLiteral("cannot open the bundle %1: %2 does not hold a dictionary")
                     .arg(directory, plistPath));
        return nullptr;
    }
    CFRef<CFDictionaryRef> info(static_cast<CFDictionaryRef>(plist.release()));
    __CFBundle *bundle = CFRuntimeCreate<__CFBundle>(directory, std::move(info));
    openBundles().push_back(bundle);
    return bundle;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID)
{
    const QString wanted = CFRuntimeStringText(bundleID);
    if (wanted.isEmpty())
        return nullptr;
    std::lock_guard guard(registryLock());
    for (__CFBundle *open : openBundles()) {
        if (infoString(open, "CFBundleIdentifier") == wanted)
            return open;
    }
    return nullptr;
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle)
{
    const __CFBundle *b = bundleObject(bundle);
    if (!b)
        return nullptr;
    const CFTypeRef value = CFDictionaryGetValue(b->info, CFSTR("CFBundleIdentifier"));
    return CFGetTypeID(value) == CFStringGetTypeID() ? static_cast<CFStringRef>(value) : nullptr;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle)
{
    const __CFBundle *b = bundleObject(bundle);
    if (!b)
        return nullptr;
    CFRef<CFStringRef> path(CFStringCreateWithQString(b->directory));
    return CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle)
{
    const __CFBundle *b = bundleObject(bundle);
    return b ? b->info.get() : nullptr;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key)
{
    const __CFBundle *b = bundleObject(bundle);
    if (!b || !key)
        return nullptr;
    return CFDictionaryGetValue(b->info, key);
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName)
{
    const __CFBundle *b = bundleObject(bundle);
    const QString name = CFRuntimeStringText(resourceName);
    if (!b || name.isEmpty())
        return nullptr;
    QString type = CFRuntimeStringText(resourceType);
    if (type.startsWith(u'.'))
        type.remove(0, 1);
    const QString subDir = CFRuntimeStringText(subDirName);
    if (!isSafeRelativePath(name) || !isSafeRelativePath(subDir) || type.contains(u'/'))
        return nullptr;

    QString path = b->contentsPath(QStringLiteral("Resources/"));
    if (!subDir.isEmpty())
        path += subDir + u'/';
    path += name;
    if (!type.isEmpty())
        path += u'.' + type;
    const QFileInfo resource(path);
    if (!resource.exists())
        return nullptr;
    CFRef<CFStringRef> pathString(CFStringCreateWithQString(QDir::cleanPath(path)));
    return CFURLCreateWithFileSystemPath(nullptr, pathString, kCFURLPOSIXPathStyle,
                                         resource.isDir());
}

CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName)
{
    const bool hasValue = value && CFStringGetLength(value) > 0;
    CFStringRef fallback = hasValue ? value : key;
    __CFBundle *b = bundleObject(bundle);
    const QString keyText = CFRuntimeStringText(key);
    if (b && !keyText.isEmpty()) {
        QString table = CFRuntimeStringText(tableName);
        if (table.isEmpty())
            table = QStringLiteral("Localizable");
        const QByteArray context = table.toUtf8();
        const QByteArray source = keyText.toUtf8();
        for (const QString &language : languageCandidates(b)) {
            QTranslator *translator = translatorFor(b, table, language);
            if (!translator)
                continue;
            const QString translated =
                translator->translate(context.constData(), source.constData());
            if (!translated.isEmpty())
                return CFStringCreateWithQString(translated);
        }
    }
    if (!fallback)
        return CFStringCreateWithQString(QString());
    return CFStringCreateCopy(nullptr, fallback);
}

Boolean CFBundleLoadExecutable(CFBundleRef bundle)
{
    __CFBundle *b = bundleObject(bundle);
    if (!b)
        return false;
    std::lock_guard guard(registryLock());
    if (b->module)
        return true;
    const QString executable = infoString(b, "CFBundleExecutable");
    if (executable.isEmpty() || !isSafeRelativePath(executable)) {
        complain(QStringLiteral("cannot load the bundle %1: its Info.plist names no executable "
                                "(CFBundleExecutable)")
                     .arg(b->directory));
        return false;
    }
    const QString path = b->contentsPath(QStringLiteral("Linux/")) + executable;
    dlerror();
    void *module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char *reason = dlerror();
        complain(
            QStringLiteral("cannot load the bundle's executable: %1")
                .arg(QString::fromLocal8Bit(reason ? reason : path.toLocal8Bit().constData())));
        return false;
    }
    b->module = module;
    return true;
}

Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle)
{
    const __CFBundle *b = bundleObject(bundle);
    if (!b)
        return false;
    std::lock_guard guard(registryLock());
    return b->module != nullptr;
}

void *CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName)
{
    __CFBundle *b = bundleObject(bundle);
    const QString name = CFRuntimeStringText(functionName);
    if (!b || name.isEmpty() || !CFBundleLoadExecutable(bundle))
        return nullptr;
    return dlsym(b->module, name.toUtf8().constData());
}

void VeltraBundleSetLanguage(const char *language)
{
    std::lock_guard guard(languageLock());
    chosenLanguage() = language ? QString::fromUtf8(language) : QString();
}

// Plug-in factories: registered from a bundle's Info property list, called through dlsym.
#include "CFPlugIn.h"

#include "CFArray.h"
#include "CFBundle.h"
#include "CFDictionary.h"
#include "CFInternal.h"
#include "CFQt.h"
#include "CFString.h"
#include "CFURL.h"

#include <array>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace {

using UUIDKey = std::array<UInt8, 16>;

UUIDKey keyOf(CFUUIDRef uuid)
{
    const CFUUIDBytes b = CFUUIDGetUUIDBytes(uuid);
    return {b.byte0, b.byte1, b.byte2,  b.byte3,  b.byte4,  b.byte5,  b.byte6,  b.byte7,
            b.byte8, b.byte9, b.byte10, b.byte11, b.byte12, b.byte13, b.byte14, b.byte15};
}

struct Factory
{
    UUIDKey key;
    CFRef<CFUUIDRef> uuid;
    CFBundleRef bundle; // open bundles live until the process ends
    QString functionName;
};

struct Registry
{
    std::mutex lock;
    std::vector<Factory> factories;                 // in registration order
    std::vector<std::pair<UUIDKey, UUIDKey>> types; // (type, factory) in registration order
    std::map<UUIDKey, CFIndex> instances;

    const Factory *find(const UUIDKey &key) const
    {
        for (const Factory &factory : factories) {
            if (factory.key == key)
                return &factory;
        }
        return nullptr;
    }
};

Registry &registry()
{
    static Registry r;
    return r;
}

void complain(const QString &message)
{
    std::fprintf(stderr, "veltra: %s\n", message.toLocal8Bit().constData());
}

QString uuidText(CFUUIDRef uuid)
{
    CFRef<CFStringRef> text(CFUUIDCreateString(nullptr, uuid));
    return QStringFromCF(text);
}

QString bundlePath(CFBundleRef bundle)
{
    CFRef<CFURLRef> url(CFBundleCopyBundleURL(bundle));
    CFRef<CFStringRef> path(url ? CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle) : nullptr);
    return QStringFromCF(path);
}

CFRef<CFUUIDRef> uuidFrom(CFTypeRef text)
{
    if (CFGetTypeID(text) != CFStringGetTypeID())
        return {};
    return CFRef<CFUUIDRef>(CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(text)));
}

} // namespace

CFPlugInRef CFPlugInCreate(CFAllocatorRef, CFURLRef plugInURL)
{
    CFBundleRef bundle = CFBundleCreate(nullptr, plugInURL);
    if (!bundle)
        return nullptr;
    const QString where = bundlePath(bundle);

    const CFTypeRef factoriesValue =
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInFactories"));
    if (CFGetTypeID(factoriesValue) != CFDictionaryGetTypeID() ||
        CFDictionaryGetCount(static_cast<CFDictionaryRef>(factoriesValue)) == 0) {
        complain(QStringLiteral("the bundle %1 is not a plug-in: its Info.plist names no "
                                "factories (CFPlugInFactories)")
                     .arg(where));
        return nullptr;
    }
    const auto factories = static_cast<CFDictionaryRef>(factoriesValue);

    Registry &r = registry();
    std::lock_guard guard(r.lock);
    int usable = 0;
    const CFIndex count = CFDictionaryGetCount(factories);
    std::vector<const void *> keys(count), values(count);
    CFDictionaryGetKeysAndValues(factories, keys.data(), values.data());
    for (CFIndex i = 0; i < count; ++i) {
        CFRef<CFUUIDRef> uuid = uuidFrom(keys[i]);
        const QString function = CFGetTypeID(values[i]) == CFStringGetTypeID()
                                     ? QStringFromCF(static_cast<CFStringRef>(values[i]))
                                     : QString();
        if (!uuid || function.isEmpty()) {
            complain(QStringLiteral("the bundle %1 names a malformed factory entry "
                                    "(CFPlugInFactories \"%2\"); it is ignored")
                         .arg(where, CFGetTypeID(keys[i]) == CFStringGetTypeID()
                                         ? QStringFromCF(static_cast<CFStringRef>(keys[i]))
                                         : QString()));
            continue;
        }
        const UUIDKey key = keyOf(uuid);
        if (const Factory *known = r.find(key)) {
            if (known->bundle != bundle) {
                complain(QStringLiteral("the factory %1 of %2 is already registered by %3; the "
                                        "first registration stays")
                             .arg(uuidText(uuid), where, bundlePath(known->bundle)));
                continue;
            }
        } else {
            r.factories.push_back(Factory{key, uuid, bundle, function});
        }
        ++usable;
    }
    if (usable == 0) {
        complain(QStringLiteral("the bundle %1 is not a plug-in: none of its factories is usable")
                     .arg(where));
        return nullptr;
    }

    const CFTypeRef typesValue =
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes"));
    if (CFGetTypeID(typesValue) == CFDictionaryGetTypeID()) {
        const auto types = static_cast<CFDictionaryRef>(typesValue);
        const CFIndex typeCount = CFDictionaryGetCount(types);
        std::vector<const void *> typeKeys(typeCount), typeValues(typeCount);
        CFDictionaryGetKeysAndValues(types, typeKeys.data(), typeValues.data());
        for (CFIndex i = 0; i < typeCount; ++i) {
            CFRef<CFUUIDRef> type = uuidFrom(typeKeys[i]);
            if (!type || CFGetTypeID(typeValues[i]) != CFArrayGetTypeID()) {
                complain(QStringLiteral("the bundle %1 names a malformed plug-in type entry "
                                        "(CFPlugInTypes); it is ignored")
                             .arg(where));
                continue;
            }
            const auto list = static_cast<CFArrayRef>(typeValues[i]);
            for (CFIndex k = 0; k < CFArrayGetCount(list); ++k) {
                CFRef<CFUUIDRef> factory = uuidFrom(CFArrayGetValueAtIndex(list, k));
                const Factory *known = factory ? r.find(keyOf(factory)) : nullptr;
                if (!known || known->bundle != bundle) {
                    complain(QStringLiteral("the bundle %1 lists a factory for the type %2 that "
                                            "its CFPlugInFactories does not name; it is ignored")
                                 .arg(where, uuidText(type)));
                    continue;
                }
                const std::pair<UUIDKey, UUIDKey> entry{keyOf(type), known->key};
                bool present = false;
                for (const auto &existing : r.types)
                    present = present || existing == entry;
                if (!present)
                    r.types.push_back(entry);
            }
        }
    }
    return bundle;
}

CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID)
{
    CFMutableArrayRef result = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    if (!CFRuntimeCast<__CFUUID>(typeUUID))
        return result;
    const UUIDKey type = keyOf(typeUUID);
    Registry &r = registry();
    std::lock_guard guard(r.lock);
    for (const auto &[registeredType, factoryKey] : r.types) {
        if (registeredType != type)
            continue;
        if (const Factory *factory = r.find(factoryKey))
            CFArrayAppendValue(result, factory->uuid.get());
    }
    return result;
}

void *CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID, CFUUIDRef typeUUID)
{
    if (!CFRuntimeCast<__CFUUID>(factoryUUID))
        return nullptr;
    CFBundleRef bundle = nullptr;
    QString function;
    {
        Registry &r = registry();
        std::lock_guard guard(r.lock);
        const Factory *factory = r.find(keyOf(factoryUUID));
        if (factory) {
            bundle = factory->bundle;
            function = factory->functionName;
        }
    }
    if (!bundle) {
        complain(QStringLiteral("no plug-in registers the factory %1").arg(uuidText(factoryUUID)));
        return nullptr;
    }
    if (!CFBundleLoadExecutable(bundle))
        return nullptr;
    CFRef<CFStringRef> name(CFStringCreateWithQString(function));
    auto entry =
        reinterpret_cast<CFPlugInFactoryFunction>(CFBundleGetFunctionPointerForName(bundle, name));
    if (!entry) {
        complain(QStringLiteral("the plug-in %1 does not export its factory function %2 "
                                "(factory %3)")
                     .arg(bundlePath(bundle), function, uuidText(factoryUUID)));
        return nullptr;
    }
    return entry(allocator, typeUUID);
}

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID)
{
    if (!CFRuntimeCast<__CFUUID>(factoryID))
        return;
    Registry &r = registry();
    std::lock_guard guard(r.lock);
    ++r.instances[keyOf(factoryID)];
}

void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID)
{
    if (!CFRuntimeCast<__CFUUID>(factoryID))
        return;
    Registry &r = registry();
    std::lock_guard guard(r.lock);
    CFIndex &count = r.instances[keyOf(factoryID)];
    if (count > 0)
        --count;
    else
        complain(QStringLiteral("an instance of the factory %1 was removed more often than added")
                     .arg(uuidText(factoryID)));
}

CFIndex VeltraPlugInInstanceCount(CFUUIDRef factoryID)
{
    if (!CFRuntimeCast<__CFUUID>(factoryID))
        return 0;
    Registry &r = registry();
    std::lock_guard guard(r.lock);
    const auto found = r.instances.find(keyOf(factoryID));
    return found == r.instances.end() ? 0 : found->second;
}

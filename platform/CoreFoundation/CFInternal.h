// Private object model of the CF-style layer: shared by the files of this folder only.
//
// Every CF object is a C++ object derived from __CFRuntimeBase. Its reference count starts at
// one (the Create/Copy reference); the last CFRelease deletes it. Immortal objects (CFSTR
// constants, the booleans, constant UUIDs) ignore retain and release.
//
// A type defined elsewhere registers its id once and checks it on every entry point:
//
//   CFTypeID CFBundleGetTypeID()
//   {
//       static const CFTypeID id = CFRuntimeRegisterType("CFBundle");
//       return id;
//   }
//   struct __CFBundle final : __CFRuntimeBase
//   {
//       static CFTypeID staticTypeID() { return CFBundleGetTypeID(); }
//       __CFBundle() : __CFRuntimeBase(staticTypeID()) {}
//   };
//   CFBundleRef b = CFRuntimeCreate<__CFBundle>();      // count 1
//   const __CFBundle *bundle = CFRuntimeCast<__CFBundle>(ref);   // null for another type
#pragma once

#include "CFArray.h"
#include "CFBase.h"
#include "CFRef.h"
#include "CFUUID.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <unordered_map>
#include <utility>
#include <vector>

// Type ids of the built-in types; registered types get ids from kCFRuntimeFirstDynamicTypeID on.
constexpr CFTypeID kCFRuntimeNotATypeID = 0;
constexpr CFTypeID kCFRuntimeStringTypeID = 1;
constexpr CFTypeID kCFRuntimeArrayTypeID = 2;
constexpr CFTypeID kCFRuntimeDictionaryTypeID = 3;
constexpr CFTypeID kCFRuntimeNumberTypeID = 4;
constexpr CFTypeID kCFRuntimeBooleanTypeID = 5;
constexpr CFTypeID kCFRuntimeDataTypeID = 6;
constexpr CFTypeID kCFRuntimeUUIDTypeID = 7;
constexpr CFTypeID kCFRuntimeURLTypeID = 8;
constexpr CFTypeID kCFRuntimeFirstDynamicTypeID = 16;

// Allocates a new type id (thread-safe, callable during static initialisation). The name is
// kept for diagnostics only.
CFTypeID CFRuntimeRegisterType(const char *className);
// The name given when the type was registered ("CFString" for the built-in ones).
const char *CFRuntimeTypeName(CFTypeID typeID);

struct __CFRuntimeBase
{
    explicit __CFRuntimeBase(CFTypeID typeID) : m_typeID(typeID) {}
    __CFRuntimeBase(const __CFRuntimeBase &) = delete;
    __CFRuntimeBase &operator=(const __CFRuntimeBase &) = delete;
    virtual ~__CFRuntimeBase() = default;

    // Called by CFEqual only for two distinct objects of the same type id.
    virtual bool equals(const __CFRuntimeBase &other) const { return this == &other; }
    // Objects that are equal must answer the same hash.
    virtual CFHashCode hash() const { return CFHashCode(reinterpret_cast<quintptr>(this)); }

    CFTypeID typeID() const { return m_typeID; }
    bool isImmortal() const { return m_immortal; }
    // Retain and release become no-ops; for objects that live until the process ends.
    void makeImmortal() { m_immortal = true; }

    void retain() const;
    // True when this was the last reference (the caller deletes).
    bool release() const;
    CFIndex retainCount() const;

private:
    const CFTypeID m_typeID;
    bool m_immortal = false;
    mutable std::atomic<CFIndex> m_retainCount{1};
};

// The object behind a CF reference (no type check).
inline const __CFRuntimeBase *CFRuntimeObject(CFTypeRef cf)
{
    return static_cast<const __CFRuntimeBase *>(cf);
}

// The object behind cf when it is of type T (T::staticTypeID()), else null. Accepts null.
template <typename T> const T *CFRuntimeCast(CFTypeRef cf)
{
    const __CFRuntimeBase *object = CFRuntimeObject(cf);
    if (!object || object->typeID() != T::staticTypeID())
        return nullptr;
    return static_cast<const T *>(object);
}
// For the mutating entry points: the same check, answering a writable object.
template <typename T> T *CFRuntimeCastMutable(CFTypeRef cf)
{
    return const_cast<T *>(CFRuntimeCast<T>(cf));
}

// A new object with one reference owned by the caller; freed by the last CFRelease.
template <typename T, typename... Args> T *CFRuntimeCreate(Args &&...args)
{
    return new T(std::forward<Args>(args)...);
}

// Mixes a value into a running hash (for containers and composite values).
inline CFHashCode CFRuntimeHashCombine(CFHashCode seed, CFHashCode value)
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

// ---------------------------------------------------------------------------------------------
// Built-in types.

struct __CFString final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeStringTypeID; }
    explicit __CFString(QString value, bool isMutable = false)
        : __CFRuntimeBase(staticTypeID()), text(std::move(value)), isMutable(isMutable)
    {}
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override;

    QString text;
    const bool isMutable;
};

struct __CFArray final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeArrayTypeID; }
    // callBacks null: plain pointers, nothing retained.
    __CFArray(const CFArrayCallBacks *callBacks, bool isMutable);
    ~__CFArray() override;
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override;

    // Stores value at the end, retaining it through the callbacks.
    void append(const void *value);
    // Removes the value at index (in range), releasing it through the callbacks.
    void removeAt(CFIndex index);
    void clear();

    CFArrayCallBacks callBacks{};
    bool hasCallBacks = false;
    const bool isMutable;
    std::vector<const void *> values;
};

struct __CFDictionary final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeDictionaryTypeID; }
    explicit __CFDictionary(bool isMutable = true)
        : __CFRuntimeBase(staticTypeID()), isMutable(isMutable)
    {}
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override;

    // Null when key is absent; keys are compared with CFEqual.
    CFTypeRef find(CFTypeRef key) const;
    // Replaces the value of an existing key (keeping its place) or appends a new entry;
    // both are retained.
    void set(CFTypeRef key, CFTypeRef value);
    void remove(CFTypeRef key);

    const bool isMutable;
    // In insertion order.
    std::vector<std::pair<CFRef<CFTypeRef>, CFRef<CFTypeRef>>> entries;

private:
    qsizetype indexOf(CFTypeRef key) const;
    void rebuildIndex();
    std::unordered_multimap<CFHashCode, size_t> m_index;
};

struct __CFNumber final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeNumberTypeID; }
    explicit __CFNumber(SInt64 value)
        : __CFRuntimeBase(staticTypeID()), isFloat(false), integer(value), real(double(value))
    {}
    explicit __CFNumber(double value)
        : __CFRuntimeBase(staticTypeID()), isFloat(true), integer(SInt64(0)), real(value)
    {}
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override;

    const bool isFloat;
    const SInt64 integer; // valid when !isFloat
    const double real;    // always valid
};

struct __CFBoolean final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeBooleanTypeID; }
    explicit __CFBoolean(bool value) : __CFRuntimeBase(staticTypeID()), value(value)
    {
        makeImmortal();
    }
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override { return value ? 1 : 0; }

    const bool value;
};

struct __CFData final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeDataTypeID; }
    explicit __CFData(QByteArray bytes, bool isMutable = false)
        : __CFRuntimeBase(staticTypeID()), bytes(std::move(bytes)), isMutable(isMutable)
    {}
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override;

    QByteArray bytes;
    const bool isMutable;
};

struct __CFUUID final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeUUIDTypeID; }
    explicit __CFUUID(const CFUUIDBytes &bytes) : __CFRuntimeBase(staticTypeID()), bytes(bytes) {}
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override;

    const CFUUIDBytes bytes;
};

struct __CFURL final : __CFRuntimeBase
{
    static CFTypeID staticTypeID() { return kCFRuntimeURLTypeID; }
    __CFURL(QString path, bool isDirectory)
        : __CFRuntimeBase(staticTypeID()), path(std::move(path)), isDirectory(isDirectory)
    {}
    bool equals(const __CFRuntimeBase &other) const override;
    CFHashCode hash() const override;

    // Absolute, clean POSIX path (no trailing slash except for "/").
    const QString path;
    const bool isDirectory;
};

// ---------------------------------------------------------------------------------------------
// Helpers for the other files of this folder.

// The text of a CFString, or a null QString for null or another type.
inline QString CFRuntimeStringText(CFStringRef str)
{
    const __CFString *s = CFRuntimeCast<__CFString>(str);
    return s ? s->text : QString();
}
// A new immutable CFString holding text (count 1).
inline CFStringRef CFRuntimeCreateString(QString text)
{
    return CFRuntimeCreate<__CFString>(std::move(text));
}

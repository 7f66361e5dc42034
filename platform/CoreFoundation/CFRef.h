// CFRef<T>: owns one reference to a CF-style object and releases it on scope exit.
#pragma once

#include "CFBase.h"

#include <utility>

template <typename T> class CFRef
{
public:
    CFRef() = default;
    // Takes over a reference the caller owns (a Create or Copy result).
    explicit CFRef(T ref) : m_ref(ref) {}
    CFRef(const CFRef &other) : m_ref(other.m_ref)
    {
        if (m_ref)
            CFRetain(m_ref);
    }
    CFRef(CFRef &&other) noexcept : m_ref(std::exchange(other.m_ref, nullptr)) {}
    ~CFRef() { reset(); }
    CFRef &operator=(CFRef other) noexcept
    {
        std::swap(m_ref, other.m_ref);
        return *this;
    }

    // Adds a reference to an object the caller does not own (a Get result).
    static CFRef retain(T ref)
    {
        if (ref)
            CFRetain(ref);
        return CFRef(ref);
    }

    T get() const { return m_ref; }
    operator T() const { return m_ref; }
    explicit operator bool() const { return m_ref != nullptr; }
    T release() { return std::exchange(m_ref, nullptr); }
    void reset(T ref = nullptr)
    {
        if (m_ref)
            CFRelease(m_ref);
        m_ref = ref;
    }
    // For out-parameters: CopyThing(&holder.out()).
    T &out()
    {
        reset();
        return m_ref;
    }

private:
    T m_ref = nullptr;
};

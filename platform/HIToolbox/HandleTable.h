// The opaque references the toolkit hands out (windows, controls, menus, targets, handlers,
// events, nibs) are serial numbers looked up in a table, not addresses: a reference to an object
// that is gone (a control of a disposed window, a handler removed twice) is recognised and
// refused instead of being followed.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

// A new serial, never handed out before in this process.
uintptr_t NewToolboxHandle();

// Handles of objects that live elsewhere (a widget's child object): the table only finds them.
template <typename Object> class HandleTable
{
public:
    uintptr_t add(Object *object)
    {
        const uintptr_t handle = NewToolboxHandle();
        m_objects.emplace(handle, object);
        return handle;
    }
    void remove(uintptr_t handle) { m_objects.erase(handle); }
    Object *find(uintptr_t handle) const
    {
        const auto it = m_objects.find(handle);
        return it == m_objects.end() ? nullptr : it->second;
    }
    template <typename Ref> Object *find(Ref *ref) const
    {
        return find(reinterpret_cast<uintptr_t>(ref));
    }

private:
    std::unordered_map<uintptr_t, Object *> m_objects;
};

// Handles of objects the table itself owns (events, handler records, nib references).
template <typename Object> class OwningHandleTable
{
public:
    uintptr_t add(std::unique_ptr<Object> object)
    {
        const uintptr_t handle = NewToolboxHandle();
        m_objects.emplace(handle, std::move(object));
        return handle;
    }
    // Destroys the object; false when the handle is unknown.
    bool remove(uintptr_t handle) { return m_objects.erase(handle) != 0; }
    template <typename Ref> bool remove(Ref *ref)
    {
        return remove(reinterpret_cast<uintptr_t>(ref));
    }
    Object *find(uintptr_t handle) const
    {
        const auto it = m_objects.find(handle);
        return it == m_objects.end() ? nullptr : it->second.get();
    }
    template <typename Ref> Object *find(Ref *ref) const
    {
        return find(reinterpret_cast<uintptr_t>(ref));
    }

private:
    std::unordered_map<uintptr_t, std::unique_ptr<Object>> m_objects;
};

template <typename Ref> Ref HandleAsRef(uintptr_t handle)
{
    return reinterpret_cast<Ref>(handle);
}

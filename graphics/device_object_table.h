// The map of a device-object registry: objects by key, each deleted by the table when its entry
// is erased, when the table is cleared and when the table goes. An entry carries no reference
// of its own: every object handed out carries its holder's.
#pragma once

#include "graphics/device_object.h"

#include <map>
#include <utility>

template <class Key, class Object>
class DeviceObjectTable {
public:
    DeviceObjectTable() = default;
    ~DeviceObjectTable() { Clear(); }
    DeviceObjectTable(const DeviceObjectTable&) = delete;
    DeviceObjectTable& operator=(const DeviceObjectTable&) = delete;

    // The object under key, or null.
    Object* Find(const Key& key) const
    {
        auto entry = objects_.find(key);
        return entry != objects_.end() ? entry->second : nullptr;
    }

    // false, with the table unchanged, when the key is taken. Throws std::bad_alloc.
    bool Insert(const Key& key, Object* object) { return objects_.emplace(key, object).second; }

    // The object under key with one more reference for the caller; or, the first time, the one
    // make() returns (with its first reference), inserted under key. false, with *object
    // untouched, when make() gives nothing or the insertion fails. Throws std::bad_alloc.
    template <class Make>
    bool Share(const Key& key, Object** object, Make make)
    {
        if (Object* shared = Find(key)) {
            ++shared->refCount;
            *object = shared;
            return true;
        }
        Object* made = make();
        if (made == nullptr)
            return false;
        if (!Insert(key, made)) {
            delete made;
            return false;
        }
        *object = made;
        return true;
    }

    // Removes the entry, then deletes its object (whose destructor may release objects of other
    // registries).
    void Erase(const Key& key)
    {
        auto entry = objects_.find(key);
        if (entry == objects_.end())
            return;
        Object* object = entry->second;
        objects_.erase(entry);
        delete object;
    }

    // Deletes every object whatever its refCount and empties the table.
    void Clear()
    {
        std::map<Key, Object*> doomed;
        doomed.swap(objects_);
        for (auto& entry : doomed)
            delete entry.second;
    }

    // OnLostDevice or OnResetDevice on every object, in key order.
    void Notify(void (DeviceObject::*notification)()) { NotifyDeviceObjects(objects_, notification); }

    const std::map<Key, Object*>& Entries() const { return objects_; }

private:
    std::map<Key, Object*> objects_;
};

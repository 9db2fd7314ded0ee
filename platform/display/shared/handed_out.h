// The objects a driver makes and hands out by pointer (windows, GL contexts), owned by the driver
// until the caller gives them back. A pointer that comes back is looked up before it is used, so
// a stale or foreign one is refused instead of followed.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

namespace quorvane::display::shared {

template <class Object>
class HandedOut {
public:
    Object* Add(std::unique_ptr<Object> object)
    {
        objects_.push_back(std::move(object));
        return objects_.back().get();
    }

    bool Owns(const Object* object) const
    {
        return object != nullptr &&
               std::any_of(objects_.begin(), objects_.end(), [&](auto& owned) { return owned.get() == object; });
    }

    // Destroys `object`; false when it is not one of these.
    bool Remove(const Object* object)
    {
        return std::erase_if(objects_, [&](auto& owned) { return owned.get() == object; }) > 0;
    }

    auto begin() const { return objects_.begin(); }
    auto end() const { return objects_.end(); }

private:
    std::vector<std::unique_ptr<Object>> objects_;
};

}  // namespace quorvane::display::shared

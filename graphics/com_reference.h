// One COM reference held for the length of a scope: released when the holder goes.
#pragma once

#include <utility>

template <class T>
class ComReference {
public:
    ComReference() = default;
    ~ComReference() { Reset(); }
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;

    // Where a COM call stores the reference it hands out; what was held is released first.
    T** Out()
    {
        Reset();
        return &object_;
    }
    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Hands the reference over to the caller.
    T* Detach() { return std::exchange(object_, nullptr); }

    // Releases what is held and takes over replacement's reference (null: holds nothing).
    void Reset(T* replacement = nullptr)
    {
        if (T* old = std::exchange(object_, replacement))
            old->Release();
    }

private:
    T* object_ = nullptr;
};

// Intrusive reference counting for shared objects (readers, the reset handler): the count
// lives in the object, starts at 0, and the object deletes itself through its virtual
// destructor when the last reference goes. Counts are plain integers: one thread only.
#pragma once

#include <windows.h>

#include <utility>

class CReferenceCount {
public:
    CReferenceCount() = default;
    virtual ~CReferenceCount() = default;
    CReferenceCount(const CReferenceCount&) = delete;
    CReferenceCount& operator=(const CReferenceCount&) = delete;

    void AddRef() { ++referenceCount_; }

    void Release()
    {
        if (--referenceCount_ == 0)
            delete this;
    }

    LONG ReferenceCount() const { return referenceCount_; }

private:
    LONG referenceCount_ = 0;
};

// Holds one reference to a T (a CReferenceCount) or nothing. Objects are passed between
// functions by RefPtr value: each holder takes its own reference and drops it when done.
template <class T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(T* object) : object_(object) { Acquire(); }  // NOLINT: takes a reference implicitly
    RefPtr(const RefPtr& other) : object_(other.object_) { Acquire(); }
    RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U>
    RefPtr(const RefPtr<U>& other) : object_(other.Get())  // from a RefPtr to a derived class
    {
        Acquire();
    }
    ~RefPtr() { Drop(); }

    // The new reference is taken before the old one is dropped, so assigning an object to
    // a pointer that already holds it cannot delete it.
    RefPtr& operator=(const RefPtr& other) { return Assign(other.object_); }
    RefPtr& operator=(T* object) { return Assign(object); }
    // The moved reference is in place before the old object is dropped: the old object may
    // own the new one (p = std::move(p->child)), and dropping it may delete `other`.
    RefPtr& operator=(RefPtr&& other) noexcept
    {
        if (this != &other) {
            T* old = std::exchange(object_, std::exchange(other.object_, nullptr));
            if (old != nullptr)
                old->Release();
        }
        return *this;
    }

    void Reset() { Assign(nullptr); }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    void Acquire()
    {
        if (object_ != nullptr)
            object_->AddRef();
    }
    void Drop()
    {
        if (object_ != nullptr)
            object_->Release();
    }
    RefPtr& Assign(T* object)
    {
        if (object != nullptr)
            object->AddRef();
        T* old = std::exchange(object_, object);
        if (old != nullptr)
            old->Release();
        return *this;
    }

    T* object_ = nullptr;
};

template <class T, class U>
bool operator==(const RefPtr<T>& a, const RefPtr<U>& b)
{
    return a.Get() == b.Get();
}

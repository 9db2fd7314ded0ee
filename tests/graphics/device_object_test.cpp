// DeviceObject's reference count and release through a registry, and registry-wide
// notification.
#include "graphics/device_object.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class TestRegistry;

class TestObject final : public DeviceObject {
public:
    TestObject(TestRegistry* registry, std::wstring key, std::vector<std::wstring>* log);
    ~TestObject() override { log_->push_back(L"deleted " + key); }
    void OnLostDevice() override { log_->push_back(L"lost " + key); }
    void OnResetDevice() override { log_->push_back(L"reset " + key); }

    const std::wstring key;

private:
    std::vector<std::wstring>* log_;
};

// A registry like the mesh and texture registries: objects by key, handed out with their
// count raised, deleted when erased.
class TestRegistry final : public DeviceObjectRegistry {
public:
    using DeviceObjectRegistry::DeviceObjectRegistry;
    ~TestRegistry()
    {
        for (auto& entry : objects)
            delete entry.second;
    }

    TestObject* Get(const std::wstring& key, std::vector<std::wstring>* log)
    {
        TestObject*& slot = objects[key];
        if (slot != nullptr) {
            ++slot->refCount;
        } else {
            slot = new TestObject(this, key, log);
        }
        return slot;
    }

    void EraseReleased(DeviceObject* object) override
    {
        auto* own = static_cast<TestObject*>(object);
        objects.erase(own->key);
        delete own;
    }

    std::map<std::wstring, TestObject*> objects;
};

TestObject::TestObject(TestRegistry* registry, std::wstring key, std::vector<std::wstring>* log)
    : DeviceObject(registry), key(std::move(key)), log_(log)
{
}

CDrawDevice* const fakeDrawDevice = reinterpret_cast<CDrawDevice*>(0x1000);  // never dereferenced

TEST(DeviceObject, StartsWithOneReferenceAndItsRegistrysDrawDevice)
{
    std::vector<std::wstring> log;
    TestRegistry registry(fakeDrawDevice);
    TestObject* object = registry.Get(L"mdl\\sphere.x", &log);
    EXPECT_EQ(object->refCount, 1);
    EXPECT_EQ(object->owner, fakeDrawDevice);
    EXPECT_EQ(object->registry, &registry);

    TestObject orphan(nullptr, L"orphan", &log);
    EXPECT_EQ(orphan.refCount, 1);
    EXPECT_EQ(orphan.owner, nullptr);
    EXPECT_EQ(orphan.registry, nullptr);
}

TEST(DeviceObject, HandedOutTwiceItIsErasedByTheSecondRelease)
{
    std::vector<std::wstring> log;
    TestRegistry registry(fakeDrawDevice);
    TestObject* first = registry.Get(L"earth.jpg", &log);
    TestObject* second = registry.Get(L"earth.jpg", &log);
    ASSERT_EQ(first, second);
    EXPECT_EQ(first->refCount, 2);

    first->Release();
    EXPECT_EQ(registry.objects.count(L"earth.jpg"), 1u);
    EXPECT_EQ(second->refCount, 1);
    EXPECT_TRUE(log.empty());

    second->Release();
    EXPECT_EQ(registry.objects.count(L"earth.jpg"), 0u);
    EXPECT_EQ(log, std::vector<std::wstring>{L"deleted earth.jpg"});
}

TEST(DeviceObject, WithoutARegistryReleaseOnlyForgets)
{
    std::vector<std::wstring> log;
    TestObject orphan(nullptr, L"orphan", &log);
    orphan.Release();
    orphan.Release();
    EXPECT_EQ(orphan.refCount, 1);
    EXPECT_TRUE(log.empty());
}

// Erases itself when told the device is lost, as a texture released from its notification
// would: the walk over the registry must go on with the next entry.
class SelfReleasingObject final : public DeviceObject {
public:
    SelfReleasingObject(DeviceObjectRegistry* registry, std::vector<std::wstring>* log)
        : DeviceObject(registry), log_(log)
    {
    }
    void OnLostDevice() override
    {
        log_->push_back(L"lost self");
        Release();
    }

private:
    std::vector<std::wstring>* log_;
};

class MixedRegistry final : public DeviceObjectRegistry {
public:
    using DeviceObjectRegistry::DeviceObjectRegistry;
    ~MixedRegistry()
    {
        for (auto& entry : objects)
            delete entry.second;
    }
    void EraseReleased(DeviceObject* object) override
    {
        for (auto entry = objects.begin(); entry != objects.end(); ++entry) {
            if (entry->second == object) {
                objects.erase(entry);
                break;
            }
        }
        delete object;
    }
    std::map<std::wstring, DeviceObject*> objects;
};

TEST(DeviceObjectNotification, VisitsInKeyOrderSkipsEmptyEntriesAndSurvivesSelfErasure)
{
    std::vector<std::wstring> log;
    MixedRegistry registry(fakeDrawDevice);
    registry.objects[L"c"] = new TestObject(nullptr, L"c", &log);
    registry.objects[L"a"] = new TestObject(nullptr, L"a", &log);
    registry.objects[L"b"] = new SelfReleasingObject(&registry, &log);
    registry.objects[L"ab"] = nullptr;

    NotifyDeviceObjects(registry.objects, &DeviceObject::OnLostDevice);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"lost a", L"lost self", L"lost c"}));
    EXPECT_EQ(registry.objects.count(L"b"), 0u);

    log.clear();
    NotifyDeviceObjects(registry.objects, &DeviceObject::OnResetDevice);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"reset a", L"reset c"}));
    registry.objects.erase(L"ab");
}

}  // namespace

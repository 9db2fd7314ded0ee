// CReferenceCount, RefPtr and CResetDeviceHandler.
#include "graphics/reference_count.h"
#include "graphics/reset_device_handler.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Counts its destructions, so that tests see when the last reference deleted it.
class Counted : public CReferenceCount {
public:
    explicit Counted(int* destroyed) : destroyed_(destroyed) {}
    ~Counted() override { ++*destroyed_; }

private:
    int* destroyed_;
};

class DerivedCounted : public Counted {
public:
    using Counted::Counted;
};

TEST(RefPtr, TheFirstHolderTakesTheCountFromZeroAndTheLastDeletes)
{
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    EXPECT_EQ(object->ReferenceCount(), 0);
    {
        RefPtr<Counted> first(object);
        EXPECT_EQ(object->ReferenceCount(), 1);
        {
            RefPtr<Counted> second = first;
            EXPECT_EQ(object->ReferenceCount(), 2);
        }
        EXPECT_EQ(object->ReferenceCount(), 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(RefPtr, AssigningAnObjectToItsOwnHolderKeepsIt)
{
    int destroyed = 0;
    RefPtr<Counted> only(new Counted(&destroyed));
    RefPtr<Counted>& alias = only;
    only = alias;
    EXPECT_EQ(only->ReferenceCount(), 1);
    only = only.Get();
    EXPECT_EQ(only->ReferenceCount(), 1);
    EXPECT_EQ(destroyed, 0);
    only.Reset();
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(only);
}

TEST(RefPtr, AssignmentDropsTheOldObjectAfterTakingTheNew)
{
    int destroyedA = 0;
    int destroyedB = 0;
    RefPtr<Counted> holder(new Counted(&destroyedA));
    RefPtr<Counted> other(new Counted(&destroyedB));
    holder = other;
    EXPECT_EQ(destroyedA, 1);
    EXPECT_EQ(other->ReferenceCount(), 2);
    holder = nullptr;
    EXPECT_EQ(other->ReferenceCount(), 1);
    EXPECT_EQ(destroyedB, 0);
}

TEST(RefPtr, MovingHandsTheReferenceOver)
{
    int destroyed = 0;
    RefPtr<Counted> source(new Counted(&destroyed));
    Counted* object = source.Get();
    RefPtr<Counted> target(std::move(source));
    EXPECT_FALSE(source);
    EXPECT_EQ(target.Get(), object);
    EXPECT_EQ(object->ReferenceCount(), 1);
    RefPtr<Counted> third;
    third = std::move(target);
    EXPECT_EQ(object->ReferenceCount(), 1);
    EXPECT_EQ(destroyed, 0);
}

// A list node that owns the next one: moving a holder onto its own object's child must take
// the child before the old node (and with it the moved-from holder) is deleted.
class Node : public CReferenceCount {
public:
    explicit Node(int* destroyed) : destroyed_(destroyed) {}
    ~Node() override { ++*destroyed_; }
    RefPtr<Node> child;

private:
    int* destroyed_;
};

TEST(RefPtr, MoveAssignmentFromAChildOfTheHeldObjectKeepsTheChild)
{
    int destroyed = 0;
    RefPtr<Node> head(new Node(&destroyed));
    head->child = new Node(&destroyed);
    Node* child = head->child.Get();
    head = std::move(head->child);
    EXPECT_EQ(destroyed, 1);
    ASSERT_EQ(head.Get(), child);
    EXPECT_EQ(child->ReferenceCount(), 1);
    EXPECT_FALSE(head->child);
    head.Reset();
    EXPECT_EQ(destroyed, 2);
}

TEST(RefPtr, ABaseHolderDeletesThroughTheVirtualDestructor)
{
    int destroyed = 0;
    RefPtr<DerivedCounted> derived(new DerivedCounted(&destroyed));
    RefPtr<CReferenceCount> base(derived);
    EXPECT_EQ(derived->ReferenceCount(), 2);
    EXPECT_TRUE(base == derived);
    derived.Reset();
    EXPECT_EQ(destroyed, 0);
    base.Reset();
    EXPECT_EQ(destroyed, 1);
}

class RecordingHandler : public CResetDeviceHandler {
public:
    explicit RecordingHandler(std::string* log) : log_(log) {}
    ~RecordingHandler() override { *log_ += "deleted;"; }
    void OnLostDevice() override { *log_ += "lost;"; }
    void OnResetDevice() override { *log_ += "reset;"; }

private:
    std::string* log_;
};

TEST(ResetDeviceHandler, IsNotifiedThroughItsInterfaceAndLivesByItsReferences)
{
    std::string log;
    {
        RefPtr<CResetDeviceHandler> handler(new RecordingHandler(&log));
        handler->OnLostDevice();
        handler->OnResetDevice();
    }
    EXPECT_EQ(log, "lost;reset;deleted;");
}

}  // namespace

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegateHandle.h"

#include <gtest/gtest.h>

namespace
{
int gDeleted = 0;

// A delegate that counts its deletions.
class CountingDelegate final : public base::Delegate0<int>
{
public:
    ~CountingDelegate() override { ++gDeleted; }
    base::DelegateWord GetObject() const override { return base::DelegateWord::Of(this); }
    base::DelegateWord GetMethod() const override { return {}; }
    int Invoke() override { return 7; }
};

class DelegateHandleTest : public ::testing::Test
{
protected:
    void SetUp() override { gDeleted = 0; }
};

TEST_F(DelegateHandleTest, AssignNullDeletesTheLastShare)
{
    base::DelegateHandle handle;
    handle.Assign(new CountingDelegate);
    handle.Assign(nullptr);
    EXPECT_EQ(gDeleted, 1);
    EXPECT_FALSE(handle);
    handle.Reset(); // an empty handle releases nothing
    EXPECT_EQ(gDeleted, 1);
}

TEST_F(DelegateHandleTest, SharersResetInTurn)
{
    base::DelegateHandle first;
    first.Assign(new CountingDelegate);
    base::DelegateHandle second(first);
    base::DelegateHandle third;
    third = second;
    first.Reset();
    second.Reset();
    EXPECT_EQ(gDeleted, 0);
    ASSERT_TRUE(third);
    EXPECT_EQ(third.As<base::Delegate0<int>>()->Invoke(), 7);
    third.Reset();
    EXPECT_EQ(gDeleted, 1);
}

TEST_F(DelegateHandleTest, SelfAssignmentAndReassignKeepTheDelegate)
{
    {
        base::DelegateHandle handle;
        auto* delegate = new CountingDelegate;
        handle.Assign(delegate);
        base::DelegateHandle& alias = handle;
        handle = alias;
        EXPECT_EQ(gDeleted, 0);
        handle.Assign(delegate);
        EXPECT_EQ(gDeleted, 0);
        EXPECT_EQ(handle.As<base::Delegate0<int>>()->Invoke(), 7);
    }
    EXPECT_EQ(gDeleted, 1);
}

TEST_F(DelegateHandleTest, AssigningOverTheLastShareFreesTheOldOne)
{
    base::DelegateHandle a, b;
    a.Assign(new CountingDelegate);
    b.Assign(new CountingDelegate);
    a = b;
    EXPECT_EQ(gDeleted, 1);
    b.Reset();
    EXPECT_EQ(gDeleted, 1);
    a.Reset();
    EXPECT_EQ(gDeleted, 2);
}

struct Base
{
    virtual ~Base() = default;
    virtual int Value(int a, int b) { return a + b; }
    int Other(int a, int b) { return a - b; }
};

struct Derived : Base
{
    int Value(int a, int b) override { return a * b; }
};

int Free(int a, int b)
{
    return a * 10 + b;
}
int OtherFree(int a, int)
{
    return a;
}

TEST(Delegate, MemberDelegateOnABaseVirtualRunsTheOverride)
{
    Derived derived;
    base::MemberDelegate2<Base, int, int, int> delegate(&derived, &Base::Value);
    EXPECT_EQ(delegate.Invoke(3, 4), 12);
}

TEST(Delegate, InvokeOfEachArity)
{
    struct Target
    {
        int calls = 0;
        void None() { ++calls; }
        int One(int a) { return a + 1; }
    } target;
    base::MemberDelegate0<Target, void> none(&target, &Target::None);
    none.Invoke();
    EXPECT_EQ(target.calls, 1);
    base::MemberDelegate1<Target, int, int> one(&target, &Target::One);
    EXPECT_EQ(one.Invoke(41), 42);
    base::StaticDelegate2<int, int, int> free(&Free);
    EXPECT_EQ(free.Invoke(4, 2), 42);
}

TEST(Delegate, IdentityTable)
{
    Derived x, y;
    using Member = base::MemberDelegate2<Base, int, int, int>;
    using Static = base::StaticDelegate2<int, int, int>;
    struct Case
    {
        const char* name;
        base::DelegateBase* left;
        base::DelegateBase* right;
        bool same;
    };
    const Case cases[] = {
        {"same object and member", new Member(&x, &Base::Value), new Member(&x, &Base::Value), true},
        {"other member", new Member(&x, &Base::Value), new Member(&x, &Base::Other), false},
        {"other object", new Member(&x, &Base::Value), new Member(&y, &Base::Value), false},
        {"same function", new Static(&Free), new Static(&Free), true},
        {"other function", new Static(&Free), new Static(&OtherFree), false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const bool same = c.left->GetObject() == c.right->GetObject() && c.left->GetMethod() == c.right->GetMethod();
        EXPECT_EQ(same, c.same);
        delete c.left;
        delete c.right;
    }

    Static free(&Free);
    EXPECT_EQ(free.GetObject(), base::DelegateWord::Of(&Free));
    EXPECT_EQ(free.GetMethod(), base::DelegateWord{});
    Member member(&x, &Base::Value);
    EXPECT_EQ(member.GetObject(), base::DelegateWord::Of(static_cast<Base*>(&x)));
    auto method = &Base::Value;
    EXPECT_EQ(member.GetMethod(), base::DelegateWord::Of(method));
}
} // namespace

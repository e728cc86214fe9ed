#include "Framework/Layer/Layer.h"

#include "Core/Base/Delegate.h"
#include "Core/Math/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;

// Logs its draw and hooks; Draw answers a chosen result.
class LoggingLayer : public layer::Layer
{
public:
    LoggingLayer(Log& log, std::string name) : mLog(log), mName(std::move(name)) {}

    HVResultEnum Draw(render::Graphics*) override
    {
        mLog.push_back("draw " + mName);
        mDrawnOpacity = mEffectiveOpacity;
        return mDrawResult;
    }

    HVResultEnum Pre(render::Graphics*, layer::Layer*)
    {
        mLog.push_back("pre " + mName);
        return HV_OK;
    }

    HVResultEnum Post(render::Graphics*, layer::Layer*)
    {
        mLog.push_back("post " + mName);
        return HV_OK;
    }

    void InstallHooks()
    {
        base::DelegateHandle pre, post;
        pre.Assign(new base::MemberDelegate2<LoggingLayer, render::Graphics*, layer::Layer*, HVResultEnum>(
            this, &LoggingLayer::Pre));
        post.Assign(new base::MemberDelegate2<LoggingLayer, render::Graphics*, layer::Layer*, HVResultEnum>(
            this, &LoggingLayer::Post));
        SetPreDrawHook(pre);
        SetPostDrawHook(post);
    }

    Log& mLog;
    std::string mName;
    HVResultEnum mDrawResult = HV_OK;
    float mDrawnOpacity = -1.0f;
};

math::Vector3 WorldOf(layer::Layer& layer, const math::Vector3& p)
{
    math::Vector3 out;
    layer.mWorldTransform.GetMatrix().TransformPoint(p, out);
    return out;
}

void ExpectBox(const math::BoundingBox& box, math::Vector3 min, math::Vector3 max)
{
    EXPECT_NEAR(box.mMin.x, min.x, 1e-4f);
    EXPECT_NEAR(box.mMin.y, min.y, 1e-4f);
    EXPECT_NEAR(box.mMin.z, min.z, 1e-4f);
    EXPECT_NEAR(box.mMax.x, max.x, 1e-4f);
    EXPECT_NEAR(box.mMax.y, max.y, 1e-4f);
    EXPECT_NEAR(box.mMax.z, max.z, 1e-4f);
}

bool IsEmptyBox(const math::BoundingBox& box) { return box.mMin.x > box.mMax.x && box.mMin.y > box.mMax.y; }

// A layer whose own hit rectangle is a fixed box.
class BoxLayer : public layer::Layer
{
public:
    explicit BoxLayer(math::BoundingBox box) : mSource(box) { SetHitRectEnabled(true); }
    void UpdateHitRect() override { mHitRect = mSource; }
    math::BoundingBox mSource;
};

TEST(LayerTree, AddChildDetachesFromFormerParent)
{
    layer::Layer a, b, child;
    a.AddChild(&child);
    b.AddChild(&child);
    EXPECT_TRUE(a.GetChildren().empty());
    ASSERT_EQ(b.GetChildren().size(), 1u);
    EXPECT_EQ(child.GetParent(), &b);

    layer::Layer stranger;
    b.RemoveChild(&stranger); // not a child: nothing happens
    EXPECT_EQ(b.GetChildren().size(), 1u);
    b.RemoveChild(&child);
    EXPECT_TRUE(b.GetChildren().empty());
    EXPECT_EQ(child.GetParent(), nullptr);
}

TEST(LayerTree, DefaultLayerIsAnEmptyVisibleLayerAtTheOrigin)
{
    layer::Layer l;
    EXPECT_TRUE(l.mVisible);
    EXPECT_TRUE(l.mHitEnabled);
    EXPECT_FALSE(l.mHitRectEnabled);
    EXPECT_EQ(l.mPosition.x, 0.0f);
    EXPECT_EQ(l.mScale.z, 1.0f);
    EXPECT_EQ(l.GetParent(), nullptr);
    EXPECT_FALSE(l.UpdateBounds());
    EXPECT_TRUE(IsEmptyBox(l.mParentBox));
}

TEST(LayerRender, InvisibleLayerRunsNoHookNoDrawNoChildren)
{
    Log log;
    LoggingLayer root(log, "root"), child(log, "child");
    root.InstallHooks();
    child.InstallHooks();
    root.AddChild(&child);
    root.mVisible = false;
    EXPECT_EQ(root.Render(nullptr), HV_OK);
    EXPECT_TRUE(log.empty());
}

TEST(LayerRender, OrderIsPreDrawChildrenPost)
{
    Log log;
    LoggingLayer root(log, "root"), a(log, "a"), b(log, "b");
    root.InstallHooks();
    a.InstallHooks();
    root.AddChild(&a);
    root.AddChild(&b);
    EXPECT_EQ(root.Render(nullptr), HV_OK);
    EXPECT_EQ(log, (Log{"pre root", "draw root", "pre a", "draw a", "post a", "draw b", "post root"}));
}

TEST(LayerRender, FirstFailingChildStopsTheWalk)
{
    Log log;
    LoggingLayer root(log, "root"), a(log, "a"), b(log, "b"), c(log, "c");
    root.InstallHooks();
    root.AddChild(&a);
    root.AddChild(&b);
    root.AddChild(&c);
    b.mDrawResult = HV_FAIL;
    EXPECT_EQ(root.Render(nullptr), HV_FAIL);
    EXPECT_EQ(log, (Log{"pre root", "draw root", "draw a", "draw b"}));
}

TEST(LayerRender, OpacityTable)
{
    struct Case
    {
        const char* name;
        float grand;
        float middle;
        bool middleInherits;
        float child;
        bool childInherits;
        float expected;
    };
    const Case cases[] = {
        {"0.5 under 0.5, both inheriting", 1.0f, 0.5f, true, 0.5f, true, 0.25f},
        {"off: own times the parent's pass-through", 0.5f, 0.8f, true, 0.5f, false, 0.4f},
        {"off under off: the pass-through is handed down", 0.5f, 0.8f, false, 0.5f, false, 0.25f},
        {"inheriting under an off layer", 0.5f, 0.8f, false, 0.5f, true, 0.2f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Log log;
        LoggingLayer grand(log, "g"), middle(log, "m"), child(log, "c");
        grand.AddChild(&middle);
        middle.AddChild(&child);
        grand.mOpacity = c.grand;
        middle.mOpacity = c.middle;
        middle.mOpacityInherit = c.middleInherits;
        child.mOpacity = c.child;
        child.mOpacityInherit = c.childInherits;
        ASSERT_EQ(grand.Render(nullptr), HV_OK);
        EXPECT_FLOAT_EQ(child.mDrawnOpacity, c.expected);
    }
}

TEST(LayerRender, OpacityOfARootIsItsOwn)
{
    Log log;
    LoggingLayer root(log, "root");
    root.mOpacity = 0.3f;
    root.mOpacityInherit = false;
    ASSERT_EQ(root.Render(nullptr), HV_OK);
    EXPECT_FLOAT_EQ(root.mDrawnOpacity, 0.3f);
    root.mOpacityInherit = true;
    ASSERT_EQ(root.Render(nullptr), HV_OK);
    EXPECT_FLOAT_EQ(root.mDrawnOpacity, 0.3f);
}

TEST(LayerTransform, ChildOfARotatedParentLandsRotated)
{
    layer::Layer parent, child;
    parent.AddChild(&child);
    parent.SetPosition(100, 100, 0);
    parent.SetRotation(0, 0, std::numbers::pi_v<float> / 2);
    child.SetPosition(10, 0, 0);
    ASSERT_EQ(parent.Render(nullptr), HV_OK);
    const math::Vector3 p = WorldOf(child, math::Vector3());
    EXPECT_NEAR(p.x, 100.0f, 1e-3f);
    EXPECT_NEAR(p.y, 110.0f, 1e-3f);
}

TEST(LayerTransform, ScaleThenRotationThenTranslation)
{
    layer::Layer l;
    l.SetScale(2, 3, 1);
    l.SetRotation(0, 0, std::numbers::pi_v<float> / 2);
    l.SetPosition(5, 7, 0);
    ASSERT_EQ(l.Render(nullptr), HV_OK);
    // (1, 0) -> scaled (2, 0) -> rotated (0, 2) -> moved (5, 9).
    const math::Vector3 p = WorldOf(l, math::Vector3(1, 0, 0));
    EXPECT_NEAR(p.x, 5.0f, 1e-3f);
    EXPECT_NEAR(p.y, 9.0f, 1e-3f);
}

TEST(LayerTransform, ChildAddedUnderARenderedParentGetsItsTransform)
{
    layer::Layer parent, child;
    parent.SetPosition(50, 20, 0);
    ASSERT_EQ(parent.Render(nullptr), HV_OK);
    parent.AddChild(&child); // default transform: only the parent marks it
    EXPECT_TRUE(child.mParentChanged);
    ASSERT_EQ(parent.Render(nullptr), HV_OK);
    const math::Vector3 p = WorldOf(child, math::Vector3());
    EXPECT_NEAR(p.x, 50.0f, 1e-4f);
    EXPECT_NEAR(p.y, 20.0f, 1e-4f);
}

TEST(LayerTransform, ParentMovedAfterwardsMovesTheChild)
{
    layer::Layer parent, child;
    parent.AddChild(&child);
    parent.SetPosition(10, 0, 0);
    ASSERT_EQ(parent.Render(nullptr), HV_OK);
    parent.SetPosition(30, 0, 0);
    ASSERT_EQ(parent.Render(nullptr), HV_OK);
    EXPECT_NEAR(WorldOf(child, math::Vector3()).x, 30.0f, 1e-4f);
}

TEST(LayerSetters, SmallMovesAreIgnoredButSetYTakesAnyChange)
{
    layer::Layer l;
    ASSERT_FALSE(l.UpdateBounds());
    l.SetPosition(1e-4f, 1e-4f, 1e-4f);
    EXPECT_FALSE(l.mTransformDirty);
    EXPECT_TRUE(l.mBoxValid);
    EXPECT_EQ(l.mPosition.x, 0.0f);
    l.SetScale(1.0001f, 1, 1);
    l.SetRotation(0, 0, 1e-4f);
    EXPECT_FALSE(l.mTransformDirty);

    l.SetY(1e-5f);
    EXPECT_TRUE(l.mTransformDirty);
    EXPECT_FALSE(l.mBoxValid);
    EXPECT_EQ(l.mPosition.y, 1e-5f);
}

TEST(LayerSetters, EveryRealMoveMarksTheLayer)
{
    struct Case
    {
        const char* name;
        void (*move)(layer::Layer&);
    };
    const Case cases[] = {
        {"position", [](layer::Layer& l) { l.SetPosition(0, 0, 1); }},
        {"scale", [](layer::Layer& l) { l.SetScale(1, 2, 1); }},
        {"rotation", [](layer::Layer& l) { l.SetRotation(0.5f, 0, 0); }},
        {"x", [](layer::Layer& l) { l.SetX(3); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        layer::Layer l;
        l.UpdateBounds();
        c.move(l);
        EXPECT_TRUE(l.mTransformDirty);
        EXPECT_FALSE(l.mBoxValid);
    }
}

TEST(LayerBounds, BoxToParentTable)
{
    const float quarter = std::numbers::pi_v<float> / 2;
    struct Case
    {
        const char* name;
        math::BoundingBox box;
        math::Vector3 scale, rotation, position;
        math::Vector3 min, max;
    };
    const Case cases[] = {
        {"quarter turn about z", {{0, 0, 0}, {10, 20, 0}}, {1, 1, 1}, {0, 0, quarter}, {}, {-20, 0, 0}, {0, 10, 0}},
        {"quarter turn then moved", {{0, 0, 0}, {10, 20, 0}}, {1, 1, 1}, {0, 0, quarter}, {5, 5, 0}, {-15, 5, 0},
         {5, 15, 0}},
        {"mirrored in x", {{0, 0, 0}, {10, 20, 0}}, {-1, 1, 1}, {}, {}, {-10, 0, 0}, {0, 20, 0}},
        {"mirrored in y and scaled", {{0, 0, 0}, {10, 20, 0}}, {2, -0.5f, 1}, {}, {1, 1, 0}, {1, -9, 0},
         {21, 1, 0}},
        {"half turn about x", {{0, 0, 0}, {10, 20, 0}}, {1, 1, 1}, {std::numbers::pi_v<float>, 0, 0}, {}, {0, -20, 0},
         {10, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        BoxLayer l(c.box);
        l.mScale = c.scale;
        l.mRotation = c.rotation;
        l.mPosition = c.position;
        EXPECT_TRUE(l.UpdateBounds());
        ExpectBox(l.mParentBox, c.min, c.max);
    }
}

TEST(LayerBounds, EmptyBoxStaysEmptyUnderAnyTransform)
{
    layer::Layer l;
    l.SetScale(-2, 3, 1);
    l.SetRotation(0.3f, 0.2f, 1.0f);
    l.SetPosition(40, 50, 0);
    EXPECT_TRUE(l.UpdateBounds());
    EXPECT_TRUE(IsEmptyBox(l.mParentBox));
}

TEST(LayerBounds, UnchangedTreeReportsNoChange)
{
    layer::Layer root;
    BoxLayer child({{0, 0, 0}, {10, 10, 0}});
    root.AddChild(&child);
    EXPECT_TRUE(root.UpdateBounds());
    EXPECT_FALSE(root.UpdateBounds());
    child.SetPosition(5, 0, 0);
    EXPECT_TRUE(root.UpdateBounds());
    ExpectBox(root.mBox, {5, 0, 0}, {15, 10, 0});
}

TEST(LayerBounds, MeasuredChildMovedToAnotherParentCountsThereOnly)
{
    layer::Layer root, a, b;
    BoxLayer child({{0, 0, 0}, {10, 10, 0}});
    root.AddChild(&a);
    root.AddChild(&b);
    a.AddChild(&child);
    b.SetPosition(100, 0, 0);
    ASSERT_TRUE(root.UpdateBounds());
    ExpectBox(a.mParentBox, {0, 0, 0}, {10, 10, 0});

    b.AddChild(&child); // already measured: it has nothing new to say itself
    EXPECT_TRUE(root.UpdateBounds());
    EXPECT_TRUE(IsEmptyBox(a.mParentBox));
    ExpectBox(b.mParentBox, {100, 0, 0}, {110, 10, 0});
    ExpectBox(root.mBox, {100, 0, 0}, {110, 10, 0});
}

TEST(LayerBounds, HitRectangleFollowsItsEnabling)
{
    BoxLayer l({{0, 0, 0}, {10, 10, 0}});
    l.SetHitRectEnabled(false);
    EXPECT_TRUE(l.UpdateBounds());
    EXPECT_TRUE(IsEmptyBox(l.mParentBox));
    l.SetHitRectEnabled(true); // never measured before: enabling must measure it
    EXPECT_TRUE(l.UpdateBounds());
    ExpectBox(l.mParentBox, {0, 0, 0}, {10, 10, 0});
    l.SetHitRectEnabled(false);
    EXPECT_TRUE(l.UpdateBounds());
    EXPECT_TRUE(IsEmptyBox(l.mParentBox));
}

TEST(LayerSpace, ToLocalUndoesMoveTurnAndScale)
{
    layer::Layer l;
    l.SetPosition(10, 20, 0);
    l.SetRotation(0, 0, std::numbers::pi_v<float> / 2);
    l.SetScale(2, 2, 0); // depth scale 0 leaves z alone
    const math::Vector3 q = l.ToLocal(math::Vector3(10, 24, 3));
    EXPECT_NEAR(q.x, 2.0f, 1e-4f);
    EXPECT_NEAR(q.y, 0.0f, 1e-4f);
    EXPECT_EQ(q.z, 3.0f);
}

TEST(LayerSpace, ToLocalFromRootSkipsLayersThatAreNotFlat)
{
    layer::Layer root, tilted, leaf;
    root.AddChild(&tilted);
    tilted.AddChild(&leaf);
    root.SetPosition(100, 0, 0);
    tilted.SetPosition(50, 50, 0);
    tilted.SetRotation(0.5f, 0, 0);
    leaf.SetPosition(5, 5, 0);
    leaf.SetScale(2, 2, 1);
    const math::Vector3 q = leaf.ToLocalFromRoot(math::Vector3(115, 25, 0));
    EXPECT_NEAR(q.x, 5.0f, 1e-4f);
    EXPECT_NEAR(q.y, 10.0f, 1e-4f);
}

TEST(LayerLifetime, DeletedChildLeavesItsParent)
{
    Log log;
    LoggingLayer root(log, "root");
    auto* child = new LoggingLayer(log, "child");
    auto* grandchild = new LoggingLayer(log, "grandchild");
    root.AddChild(child);
    child->AddChild(grandchild);
    ASSERT_EQ(root.Render(nullptr), HV_OK);
    delete child; // still attached, with a child of its own
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_EQ(grandchild->GetParent(), nullptr);
    log.clear();
    EXPECT_EQ(root.Render(nullptr), HV_OK);
    EXPECT_EQ(log, (Log{"draw root"}));
    root.UpdateBounds();
    delete grandchild;
}
} // namespace

#include "Framework/Layer/DispatchHandles.h"
#include "Framework/Layer/HitTestListener.h"
#include "Framework/Layer/Layer.h"
#include "Framework/Layer/RectHitLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;

// Records each call with the fields the dispatcher wrote, then leaves the
// chosen state.
class RecordingListener : public layer::HitTestListener
{
public:
    RecordingListener(Log& log, std::map<const layer::Layer*, std::string>& names, std::string name)
        : mLog(log), mNames(names), mName(std::move(name))
    {
    }

    HVResultEnum OnMouseDown(const math::Vector3& p, int button) override { return Record("down", p, button); }
    HVResultEnum OnMouseUp(const math::Vector3& p, int button) override { return Record("up", p, button); }
    HVResultEnum OnMouseMove(const math::Vector3& p) override { return Record("move", p, 0); }
    HVResultEnum OnMouseDrag(const math::Vector3& p) override { return Record("drag", p, 0); }
    HVResultEnum OnMouseWheel(const math::Vector3& p, int delta) override { return Record("wheel", p, delta); }

    int mSetState = layer::HIT_HANDLED;
    HVResultEnum mResult = HV_OK;

private:
    HVResultEnum Record(const char* kind, const math::Vector3& p, int arg)
    {
        EXPECT_EQ(&p, &mPoint); // the point handed over is the listener's own field
        std::ostringstream s;
        s << mName << ' ' << kind;
        if (arg)
            s << ' ' << arg;
        s << " hit=" << mNames[mHitLayer] << " own=" << mNames[mOwnLayer] << " (" << std::lround(p.x) << ','
          << std::lround(p.y) << ") in=" << mState;
        mLog.push_back(s.str());
        mState = mSetState;
        return mResult;
    }

    Log& mLog;
    std::map<const layer::Layer*, std::string>& mNames;
    std::string mName;
};

class HitTest : public ::testing::Test
{
protected:
    // A rectangle layer at (x, y) covering (0, 0)-(w, h) of its own space.
    layer::RectHitLayer* Rect(const std::string& name, layer::Layer* parent, float x, float y, float w, float h)
    {
        mLayers.push_back(std::make_unique<layer::RectHitLayer>(0.0f, 0.0f, w, h));
        layer::RectHitLayer* l = mLayers.back().get();
        l->SetPosition(x, y, 0);
        mNames[l] = name;
        if (parent)
            parent->AddChild(l);
        return l;
    }

    RecordingListener* Listen(layer::Layer* l, int state = layer::HIT_HANDLED)
    {
        mListeners.emplace_back(mLog, mNames, mNames[l]);
        RecordingListener* listener = &mListeners.back();
        listener->mSetState = state;
        l->mHitListener = listener;
        return listener;
    }

    template <class E = layer::OnMouseMove>
    bool Hit(layer::Layer* root, float x, float y, const E& event = E())
    {
        bool handled = true;
        EXPECT_EQ(root->StartHitTest(math::Vector3(x, y, 0), event, handled), HV_OK);
        return handled;
    }

    Log mLog;
    std::map<const layer::Layer*, std::string> mNames;
    std::vector<std::unique_ptr<layer::RectHitLayer>> mLayers;
    std::deque<RecordingListener> mListeners;
};

TEST_F(HitTest, EdgeTable)
{
    // The child covers (20, 20)-(30, 30) of the root; its own rectangle is tested
    // after its box, so both edges are checked here.
    layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 100, 100);
    layer::RectHitLayer* child = Rect("child", root, 20, 20, 10, 10);
    Listen(root);
    Listen(child);
    struct Case
    {
        float x, y;
        const char* taker;
    };
    const Case cases[] = {
        {20, 20, "child"},     {29.99f, 29.99f, "child"}, {30, 25, "root"},     {25, 30, "root"},
        {19.99f, 25, "root"},  {0, 0, "root"},            {100, 50, nullptr},   {50, 100, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << ',' << c.y);
        mLog.clear();
        const bool handled = Hit(root, c.x, c.y);
        EXPECT_EQ(handled, c.taker != nullptr);
        if (c.taker)
        {
            ASSERT_EQ(mLog.size(), 1u);
            EXPECT_EQ(mLog[0].substr(0, mLog[0].find(' ')), c.taker);
        }
        else
            EXPECT_TRUE(mLog.empty());
    }
}

TEST_F(HitTest, RectangleEdgeInsideALargerBox)
{
    // The sibling widens the parent's box, so only the hit rectangle rejects.
    layer::Layer root;
    layer::RectHitLayer* a = Rect("a", &root, 0, 0, 10, 10);
    Rect("wide", &root, 0, 0, 50, 50)->mHitEnabled = false;
    Listen(a);
    EXPECT_TRUE(Hit(&root, 9.5f, 9.5f));
    EXPECT_FALSE(Hit(&root, 10, 5));
    EXPECT_FALSE(Hit(&root, 5, 10));
}

TEST_F(HitTest, DepthPassesFromTheMinimumUp)
{
    layer::Layer root;
    layer::RectHitLayer* below = Rect("below", &root, 0, 0, 10, 10);
    layer::RectHitLayer* above = Rect("above", &root, 20, 0, 10, 10);
    below->SetPosition(0, 0, -1000.0f); // far below: still hit
    above->SetPosition(20, 0, 0.5f);    // any positive z: the root point at z 0 never reaches it
    Listen(below);
    Listen(above);
    EXPECT_TRUE(Hit(&root, 5, 5));
    EXPECT_FALSE(Hit(&root, 25, 5));
}

TEST_F(HitTest, LaterSiblingTakesTheHit)
{
    layer::Layer root;
    Listen(Rect("first", &root, 0, 0, 10, 10));
    Listen(Rect("second", &root, 5, 5, 10, 10));
    EXPECT_TRUE(Hit(&root, 7, 7));
    EXPECT_EQ(mLog, (Log{"second move hit=second own=second (2,2) in=0"}));
}

TEST_F(HitTest, PassOnTriesTheNextLowerSibling)
{
    layer::Layer root;
    Listen(Rect("low", &root, 0, 0, 10, 10));
    Listen(Rect("high", &root, 0, 0, 10, 10), layer::HIT_PASS_ON);
    EXPECT_TRUE(Hit(&root, 5, 5));
    EXPECT_EQ(mLog, (Log{"high move hit=high own=high (5,5) in=0", "low move hit=low own=low (5,5) in=0"}));
}

TEST_F(HitTest, PassOnByEveryoneLeavesTheRunUnhandled)
{
    layer::Layer root;
    Listen(Rect("only", &root, 0, 0, 10, 10), layer::HIT_PASS_ON);
    EXPECT_FALSE(Hit(&root, 5, 5));
    EXPECT_EQ(mLog.size(), 1u);
}

TEST_F(HitTest, VisibilityAndEnablingTable)
{
    struct Case
    {
        const char* name;
        bool visible, hitEnabled, hitChildren;
        float x; // 5: over the child; 15: over the parent alone
        const char* taker;
    };
    const Case cases[] = {
        {"visible and enabled: child", true, true, false, 5, "child"},
        {"visible and enabled: parent", true, true, false, 15, "parent"},
        {"invisible hides the subtree", false, true, true, 5, "root"},
        {"not hit-enabled hides the subtree", true, false, false, 5, "root"},
        {"children still tested when asked", true, false, true, 5, "child"},
        {"but the layer itself is never hit", true, false, true, 15, "root"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mLog.clear();
        layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 100, 100);
        layer::RectHitLayer* parent = Rect("parent", root, 0, 0, 20, 20);
        layer::RectHitLayer* child = Rect("child", parent, 0, 0, 10, 10);
        Listen(root);
        Listen(parent);
        Listen(child);
        parent->mVisible = c.visible;
        parent->mHitEnabled = c.hitEnabled;
        parent->mHitChildrenWhileDisabled = c.hitChildren;
        EXPECT_TRUE(Hit(root, c.x, 5));
        ASSERT_EQ(mLog.size(), 1u);
        EXPECT_EQ(mLog[0].substr(0, mLog[0].find(' ')), c.taker);
    }
}

// Captures what the dispatcher builds for the listener.
std::vector<layer::HitTestParam> gParams;
HVResultEnum CaptureParam(layer::HitTestParam& param, const layer::OnMouseMove& event)
{
    gParams.push_back(param);
    return layer::DispatchToListener(param, event);
}

TEST_F(HitTest, HitWithoutListenerGoesToTheNearestAncestorListener)
{
    layer::Layer root;
    layer::RectHitLayer* outer = Rect("outer", &root, 100, 100, 200, 200);
    layer::Layer middle;
    mNames[&middle] = "middle";
    middle.SetPosition(10, 10, 0);
    outer->AddChild(&middle);
    Rect("leaf", &middle, 5, 5, 20, 20);
    Listen(&root);
    Listen(outer);

    base::DelegateHandle& handle = layer::GetDispatchHandle<layer::OnMouseMove>();
    const base::DelegateHandle saved = handle;
    handle.Assign(new base::StaticDelegate2<layer::HitTestParam&, const layer::OnMouseMove&, HVResultEnum>(&CaptureParam));
    gParams.clear();
    const bool handled = Hit(&root, 120, 121);
    handle = saved;

    EXPECT_TRUE(handled);
    EXPECT_EQ(mLog, (Log{"outer move hit=leaf own=outer (20,21) in=0"}));
    ASSERT_EQ(gParams.size(), 1u);
    EXPECT_EQ(mNames[gParams[0].hitLayer], "leaf");
    EXPECT_FLOAT_EQ(gParams[0].hitPoint.x, 5.0f);
    EXPECT_FLOAT_EQ(gParams[0].hitPoint.y, 6.0f);
    EXPECT_EQ(gParams[0].listenerLayer, outer);
    EXPECT_FLOAT_EQ(gParams[0].listenerPoint.x, 20.0f);
    EXPECT_FALSE(gParams[0].bubbled);
}

TEST_F(HitTest, NoListenerAnywhereLeavesTheRunUnhandled)
{
    layer::Layer root;
    Rect("a", &root, 0, 0, 10, 10);
    Rect("b", Rect("c", &root, 0, 0, 10, 10), 0, 0, 5, 5);
    EXPECT_FALSE(Hit(&root, 2, 2));
}

TEST_F(HitTest, CaptureByAnAncestor)
{
    // a (listener, captures) > between (no listener) > leaf (no listener);
    // a's lower child and the root's lower child must not be asked.
    struct Case
    {
        const char* name;
        float ownWidth; // a's own rectangle: covering the point or not
        Log expected;
        bool handled;
    };
    const Case cases[] = {
        {"point inside a's own rectangle: a gets it directly",
         50,
         {"a move hit=leaf own=a (5,5) in=0", "a move hit=a own=a (5,5) in=0"},
         false},
        {"point outside a's own rectangle: the search goes on below a",
         2,
         {"a move hit=leaf own=a (5,5) in=0", "root move hit=root own=root (5,5) in=0"},
         true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mLog.clear();
        layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 100, 100);
        Listen(Rect("rootLow", root, 0, 0, 1, 1)); // never reached at (5, 5)
        layer::RectHitLayer* a = Rect("a", root, 0, 0, c.ownWidth, c.ownWidth);
        Listen(Rect("aLow", a, 0, 0, 50, 50));
        layer::RectHitLayer* between = Rect("between", a, 0, 0, 50, 50);
        Rect("leaf", between, 0, 0, 50, 50);
        Listen(root);
        Listen(a, layer::HIT_CAPTURED);
        EXPECT_EQ(Hit(root, 5, 5), c.handled);
        EXPECT_EQ(mLog, c.expected);
    }
}

TEST_F(HitTest, LayerTurnedAboutXTestsOnlyItsOriginAndNoChildren)
{
    struct Case
    {
        const char* name;
        float left; // the own rectangle starts here; covering the origin or not
        bool hit;
    };
    const Case cases[] = {{"origin inside", -10, true}, {"origin outside", 1, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mLog.clear();
        layer::Layer root;
        mLayers.push_back(std::make_unique<layer::RectHitLayer>(c.left, -10.0f, 20.0f, 20.0f));
        layer::RectHitLayer* tilted = mLayers.back().get();
        mNames[tilted] = "tilted";
        root.AddChild(tilted);
        tilted->SetPosition(50, 50, 0);
        tilted->SetRotation(0.5f, 0, 0);
        Listen(tilted);
        Listen(Rect("child", tilted, -10, -10, 20, 20));
        EXPECT_EQ(Hit(&root, 55, 52), c.hit);
        if (c.hit)
            EXPECT_EQ(mLog, (Log{"tilted move hit=tilted own=tilted (0,0) in=0"}));
        else
            EXPECT_TRUE(mLog.empty());
    }
}

TEST_F(HitTest, ControlFlattenedInDepthIsHitAtItsStateCentres)
{
    layer::Layer root;
    layer::Layer control;
    mNames[&control] = "control";
    root.AddChild(&control);
    control.SetPosition(200, 100, 0);
    control.SetScale(1.05f, 1.05f, 0);
    Listen(&control);
    Rect("normal", &control, -20, -10, 40, 20);
    Rect("badge", &control, 30, -10, 20, 20);
    EXPECT_TRUE(Hit(&root, 200, 100));
    EXPECT_TRUE(Hit(&root, 200 + 1.05f * 40, 100));
    EXPECT_EQ(mLog, (Log{"control move hit=normal own=control (0,0) in=0",
                         "control move hit=badge own=control (40,0) in=0"}));
}

TEST_F(HitTest, EveryEventKindReachesItsOwnOperation)
{
    layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 10, 10);
    Listen(root);
    EXPECT_TRUE(Hit(root, 1, 2, layer::OnMouseDown{3}));
    EXPECT_TRUE(Hit(root, 1, 2, layer::OnMouseUp{1}));
    EXPECT_TRUE(Hit(root, 1, 2, layer::OnMouseMove{}));
    EXPECT_TRUE(Hit(root, 1, 2, layer::OnMouseDrag{}));
    EXPECT_TRUE(Hit(root, 1, 2, layer::OnMouseWheel{-240}));
    EXPECT_EQ(mLog, (Log{"root down 3 hit=root own=root (1,2) in=0", "root up 1 hit=root own=root (1,2) in=0",
                         "root move hit=root own=root (1,2) in=0", "root drag hit=root own=root (1,2) in=0",
                         "root wheel -240 hit=root own=root (1,2) in=0"}));
}

TEST_F(HitTest, ListenerFailureIsReturnedAndEndsTheSearch)
{
    layer::Layer root;
    Listen(Rect("low", &root, 0, 0, 10, 10));
    Listen(Rect("high", &root, 0, 0, 10, 10), layer::HIT_PASS_ON)->mResult = HV_FAIL;
    bool handled = true;
    EXPECT_EQ(root.StartHitTest(math::Vector3(5, 5, 0), layer::OnMouseDown{1}, handled), HV_FAIL);
    EXPECT_EQ(mLog.size(), 1u);
}

TEST_F(HitTest, EmptyDispatchHandleSkipsTheTest)
{
    layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 10, 10);
    Listen(root);
    base::DelegateHandle& handle = layer::GetDispatchHandle<layer::OnMouseDrag>();
    const base::DelegateHandle saved = handle;
    handle.Reset();
    const bool handled = Hit(root, 5, 5, layer::OnMouseDrag{});
    handle = saved;
    EXPECT_FALSE(handled);
    EXPECT_TRUE(mLog.empty());
    EXPECT_TRUE(Hit(root, 5, 5, layer::OnMouseDrag{}));
}

TEST_F(HitTest, TestMoveAndTestDragStartOnTheGivenLayer)
{
    layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 100, 100);
    layer::RectHitLayer* widget = Rect("widget", root, 50, 50, 10, 10);
    Listen(widget);
    bool handled = false;
    // The point is in the given layer's parent space; its z is ignored.
    EXPECT_EQ(widget->TestMove(math::Vector3(55, 55, 7), layer::OnMouseMove{}, handled), HV_OK);
    EXPECT_TRUE(handled);
    EXPECT_EQ(widget->TestDrag(math::Vector3(5, 5, 0), layer::OnMouseDrag{}, handled), HV_OK);
    EXPECT_FALSE(handled);
    EXPECT_EQ(mLog, (Log{"widget move hit=widget own=widget (5,5) in=0"}));
}

TEST_F(HitTest, MirroredLayerIsHit)
{
    layer::Layer root;
    layer::RectHitLayer* mirrored = Rect("mirrored", &root, 50, 0, 20, 10);
    mirrored->SetScale(-1, 1, 1); // covers (30, 0)-(50, 10) of the root
    Listen(mirrored);
    EXPECT_TRUE(Hit(&root, 35, 5));
    EXPECT_FALSE(Hit(&root, 55, 5));
    EXPECT_EQ(mLog, (Log{"mirrored move hit=mirrored own=mirrored (15,5) in=0"}));
}

TEST_F(HitTest, MeasuredChildMovedToAnotherParentIsHitThereOnly)
{
    layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 200, 20);
    layer::RectHitLayer* a = Rect("a", root, 0, 0, 10, 10);
    layer::RectHitLayer* b = Rect("b", root, 100, 0, 10, 10);
    layer::RectHitLayer* child = Rect("child", a, 20, 0, 10, 10);
    Listen(root);
    Listen(child);
    EXPECT_TRUE(Hit(root, 25, 5));
    b->AddChild(child);
    mLog.clear();
    EXPECT_TRUE(Hit(root, 125, 5));
    EXPECT_TRUE(Hit(root, 25, 5)); // a's box no longer covers it: the root takes it
    EXPECT_EQ(mLog, (Log{"child move hit=child own=child (5,5) in=0", "root move hit=root own=root (25,5) in=0"}));
}

TEST_F(HitTest, ChildAddedAtTheFrontIsCountedAndLiesBeneathItsSiblings)
{
    layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 10, 10);
    layer::RectHitLayer* top = Rect("top", root, 0, 0, 10, 10);
    Listen(top);
    EXPECT_TRUE(Hit(root, 5, 5)); // measured before the insertion
    layer::RectHitLayer* under = Rect("under", nullptr, 0, 0, 30, 10);
    root->AddChildFront(under);
    Listen(under);
    ASSERT_EQ(root->GetChildren().front(), under);
    mLog.clear();
    EXPECT_TRUE(Hit(root, 5, 5));  // the sibling on top wins the overlap
    EXPECT_TRUE(Hit(root, 25, 5)); // the root's box grew to cover the new child
    EXPECT_EQ(mLog, (Log{"top move hit=top own=top (5,5) in=0", "under move hit=under own=under (25,5) in=0"}));
}

TEST_F(HitTest, SubtreeUpdatedOnItsOwnStillWidensItsAncestors)
{
    layer::Layer root, middle;
    mNames[&middle] = "middle";
    root.AddChild(&middle);
    layer::RectHitLayer* leaf = Rect("leaf", &middle, 0, 0, 10, 10);
    Listen(leaf);
    EXPECT_TRUE(Hit(&root, 5, 5));
    leaf->SetRect(0, 0, 40, 10);
    bool handled = false;
    // A test started on the middle layer measures the leaf there first.
    EXPECT_EQ(middle.TestMove(math::Vector3(30, 5, 0), layer::OnMouseMove{}, handled), HV_OK);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(Hit(&root, 30, 5));
    EXPECT_EQ(mLog.size(), 3u);
}

TEST_F(HitTest, DeletedLayersAreGoneFromRenderAndHitTest)
{
    layer::RectHitLayer* root = Rect("root", nullptr, 0, 0, 100, 100);
    Listen(root);
    auto* doomed = new layer::RectHitLayer(0, 0, 50, 50);
    auto* orphan = new layer::RectHitLayer(0, 0, 10, 10);
    root->AddChild(doomed);
    doomed->AddChild(orphan);
    Listen(doomed);
    EXPECT_TRUE(Hit(root, 5, 5));
    delete doomed;
    mLog.clear();
    EXPECT_EQ(root->Render(nullptr), HV_OK);
    EXPECT_TRUE(Hit(root, 5, 5));
    EXPECT_EQ(mLog, (Log{"root move hit=root own=root (5,5) in=0"}));
    EXPECT_EQ(orphan->GetParent(), nullptr);
    delete orphan;
}
} // namespace

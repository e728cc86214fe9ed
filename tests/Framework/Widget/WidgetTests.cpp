#include "Framework/Widget/Button.h"
#include "Framework/Widget/ClassId.h"
#include "Framework/Widget/Frame.h"
#include "Framework/Widget/Slider.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using namespace widgettest;

// P
// +- C
//    +- C1
//    |  +- C11
//    +- C2
struct DisableTree
{
    explicit DisableTree(Log* log) : p(log, "P"), c(log, "C"), c1(log, "C1"), c11(log, "C11"), c2(log, "C2")
    {
        c.self->AddChild(c1.self, nullptr);
        c1.self->AddChild(c11.self, nullptr);
        c.self->AddChild(c2.self, nullptr);
    }
    TestWidget p, c, c1, c11, c2;
};

TEST(WidgetDisabled, NotificationsFollowTheEffectiveState)
{
    struct Case
    {
        const char* name;
        std::function<void(DisableTree&, Log&)> act;
        Log expected;
    };
    const Case cases[] = {
        {"adding under a disabled parent tells the subtree in pre-order",
         [](DisableTree& t, Log& log) {
             t.p.self->SetDisabled(true);
             log.clear();
             EXPECT_EQ(t.p.self->AddChild(t.c.self, nullptr), HV_OK);
         },
         {"C OnDisable 1", "C1 OnDisable 1", "C11 OnDisable 1", "C2 OnDisable 1"}},
        {"the alternative flag routes to OnDisableAlt",
         [](DisableTree& t, Log& log) {
             t.c1.self->mAltNotification = 1;
             t.p.self->SetDisabled(true);
             log.clear();
             t.p.self->AddChild(t.c.self, nullptr);
         },
         {"C OnDisable 1", "C1 OnDisableAlt 1", "C11 OnDisable 1", "C2 OnDisable 1"}},
        {"removal from a disabled parent sends false",
         [](DisableTree& t, Log& log) {
             t.p.self->SetDisabled(true);
             t.p.self->AddChild(t.c.self, nullptr);
             log.clear();
             EXPECT_EQ(t.p.self->RemoveChild(t.c.self, true), HV_OK);
         },
         {"C OnDisable 0", "C1 OnDisable 0", "C11 OnDisable 0", "C2 OnDisable 0"}},
        {"disabling over inherited-disabled descendants tells nobody",
         [](DisableTree& t, Log& log) {
             t.p.self->AddChild(t.c.self, nullptr);
             t.p.self->SetDisabled(true);
             log.clear();
             EXPECT_EQ(t.c.self->SetDisabled(true), HV_OK);
         },
         {}},
        {"enabling the root tells every descendant that was disabled through it",
         [](DisableTree& t, Log& log) {
             t.p.self->AddChild(t.c.self, nullptr);
             t.c1.self->SetDisabled(true);
             t.p.self->SetDisabled(true);
             log.clear();
             t.p.self->SetDisabled(false);
         },
         // C1 stays disabled by itself, so C11 keeps its inherited state.
         {"C OnDisable 0", "C1 OnDisable 0", "C2 OnDisable 0"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Log log;
        DisableTree tree(&log);
        c.act(tree, log);
        EXPECT_EQ(log, c.expected);
    }
}

TEST(WidgetDisabled, StateFlagsMatchTheNotifications)
{
    Log log;
    DisableTree t(&log);
    t.p.self->SetDisabled(true);
    t.p.self->AddChild(t.c.self, nullptr);
    EXPECT_TRUE(t.c11.self->IsDisabled());
    EXPECT_FALSE(t.c11.self->mDisabled);
    t.p.self->RemoveChild(t.c.self, true);
    for (widget::Widget* w : {t.c.self, t.c1.self, t.c11.self, t.c2.self})
        EXPECT_FALSE(w->IsDisabled());
}

// F (a board)
// +- A
// |  +- A1
// |  +- A2
// +- B
//    +- B1
struct HoverTree
{
    explicit HoverTree(Log* log, const std::string& prefix = "")
        : f(log, prefix + "F")
        , a(log, prefix + "A")
        , a1(log, prefix + "A1")
        , a2(log, prefix + "A2")
        , b(log, prefix + "B")
        , b1(log, prefix + "B1")
    {
        f.AddChild(a.self, nullptr);
        a.self->AddChild(a1.self, nullptr);
        a.self->AddChild(a2.self, nullptr);
        f.AddChild(b.self, nullptr);
        b.self->AddChild(b1.self, nullptr);
    }
    ~HoverTree() { f.Clear(false, true, 1); }

    RecordingBoard f;
    TestWidget a, a1, a2, b, b1;
};

TEST(FrameSetHover, TellsOnlyTheWidgetsWhoseStateChanges)
{
    struct Named
    {
        const char* name;
        const char* from;
        const char* to;
        Log expected;
    };
    const Named cases[] = {
        {"sibling to sibling", "A1", "A2", {"A1 OnHover 0", "A2 OnHover 1"}},
        {"parent to child", "A", "A1", {"A OnHover 0", "A1 OnHover 1", "A OnChildHover 1"}},
        {"child to parent", "A1", "A", {"A1 OnHover 0", "A OnChildHover 0", "A OnHover 1"}},
        {"across subtrees", "A1", "B1", {"A1 OnHover 0", "A OnChildHover 0", "B1 OnHover 1", "B OnChildHover 1"}},
        {"to nothing", "A1", "", {"A1 OnHover 0", "A OnChildHover 0", "F OnChildHover 0"}},
        {"from nothing", "", "B1", {"B1 OnHover 1", "B OnChildHover 1", "F OnChildHover 1"}},
        {"to the same widget", "A2", "A2", {}},
    };
    for (const Named& c : cases)
    {
        SCOPED_TRACE(c.name);
        Log log;
        HoverTree t(&log);
        std::map<std::string, widget::Widget*> byName = {{"", nullptr},     {"A", t.a.self},   {"A1", t.a1.self},
                                                         {"A2", t.a2.self}, {"B", t.b.self},   {"B1", t.b1.self}};
        ASSERT_EQ(t.f.SetHover(byName[c.from]), HV_OK);
        log.clear();
        ASSERT_EQ(t.f.SetHover(byName[c.to]), HV_OK);
        EXPECT_EQ(log, c.expected);
        EXPECT_EQ(t.f.mHoverWidget, byName[c.to]);
        // The flags agree with the chain of the new hover widget.
        for (const auto& [name, w] : byName)
        {
            if (!w)
                continue;
            EXPECT_EQ(w->IsHovered(), w == byName[c.to]) << name;
            EXPECT_EQ(w->mChildHover != 0, w != byName[c.to] && w->Contains(byName[c.to])) << name;
        }
    }
}

TEST(FrameSetHover, HoverOnASecondFrameClearsTheFirstFramesHoverFirst)
{
    Log log;
    widget::FrameManager manager;
    HoverTree one(&log, "1");
    HoverTree two(&log, "2");
    manager.OpenFrame(&one.f, false, false, false);
    manager.OpenFrame(&two.f, false, false, false);
    ASSERT_EQ(one.f.SetHover(one.a.self), HV_OK);
    EXPECT_EQ(manager.GetHoveredFrame(), &one.f);
    log.clear();
    ASSERT_EQ(two.f.SetHover(two.b.self), HV_OK);
    EXPECT_EQ(log, (Log{"1A OnHover 0", "1F OnChildHover 0", "2B OnHover 1", "2F OnChildHover 1"}));
    EXPECT_EQ(manager.GetHoveredFrame(), &two.f);
    EXPECT_EQ(one.f.mHoverWidget, nullptr);
    manager.CloseAll(false, false);
}

TEST(WidgetTree, SetFrameStopsAtTheFirstFailure)
{
    Log log;
    TestWidget parent(&log, "P"), first(&log, "C1"), second(&log, "C2"), third(&log, "C3");
    for (TestWidget* c : {&first, &second, &third})
        parent.self->AddChild(c->self, nullptr);
    second.listener.mFail["OnAttachFrame"] = HV_FAIL;
    widget::Frame frame;
    log.clear();
    EXPECT_EQ(parent.self->SetFrame(&frame), HV_FAIL);
    EXPECT_EQ(log, (Log{"P OnAttachFrame", "C1 OnAttachFrame", "C2 OnAttachFrame"}));
    EXPECT_EQ(first.self->mFrame, &frame);
    EXPECT_EQ(third.self->mFrame, nullptr);
    parent.self->mFrame = nullptr;
    first.self->mFrame = second.self->mFrame = nullptr;
}

TEST(WidgetTree, AddAndRemoveLinkFrameManagerAndLayers)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard board(&log, "F");
    TestWidget w(&log, "W"), child(&log, "K");
    w.self->AddChild(child.self, nullptr);
    manager.OpenFrame(&board, false, false, false);
    log.clear();

    ASSERT_EQ(board.AddChild(w.self, nullptr), HV_OK);
    EXPECT_EQ(log, (Log{"W OnAttachFrame", "K OnAttachFrame", "W OnOpen", "K OnOpen"}));
    EXPECT_EQ(w.self->mLayer->GetParent(), board.mLayer);
    EXPECT_EQ(child.self->mFrame, &board);

    log.clear();
    ASSERT_EQ(board.RemoveChild(w.self, true), HV_OK);
    EXPECT_EQ(log, (Log{"W OnClose", "K OnClose", "W OnDetachFrame", "K OnDetachFrame"}));
    EXPECT_EQ(w.self->mParent, nullptr);
    EXPECT_EQ(w.self->mFrame, nullptr);
    EXPECT_EQ(child.self->mFrame, nullptr);
    EXPECT_EQ(w.self->mLayer->GetParent(), nullptr);
    EXPECT_TRUE(board.mChildren.empty());
    EXPECT_EQ(board.RemoveChild(w.self, true), HV_FAIL);
    manager.CloseAll(false, false);
}

TEST(WidgetTree, ANonZeroDetachKeepsTheFrameLinkAndTheRemovalGoesOn)
{
    Log log;
    RecordingBoard board(&log, "F");
    TestWidget w(&log, "W");
    board.AddChild(w.self, nullptr);
    w.listener.mFail["OnDetachFrame"] = HV_FAIL;
    EXPECT_EQ(board.RemoveChild(w.self, true), HV_OK);
    EXPECT_EQ(w.self->mFrame, &board);
    EXPECT_EQ(w.self->mParent, nullptr);
    EXPECT_TRUE(board.mChildren.empty());
    w.self->mFrame = nullptr;
}

TEST(WidgetTree, WidgetsWithoutListenersCountAsSuccess)
{
    widget::FrameManager manager;
    widget::Frame frame;
    widget::Widget parent, child, grandchild;
    child.AddChild(&grandchild, nullptr);
    parent.SetDisabled(true);
    manager.OpenFrame(&frame, false, true, false);
    EXPECT_EQ(frame.AddChild(&parent, nullptr), HV_OK);
    EXPECT_EQ(parent.AddChild(&child, nullptr), HV_OK);
    EXPECT_TRUE(grandchild.IsDisabled());
    EXPECT_EQ(frame.SetHover(&grandchild), HV_OK);
    EXPECT_TRUE(child.mChildHover);
    EXPECT_EQ(frame.UpdateTree(0.1f), HV_OK);
    EXPECT_EQ(frame.SetHover(nullptr), HV_OK);
    EXPECT_EQ(parent.RemoveChild(&child, true), HV_OK);
    EXPECT_FALSE(grandchild.IsDisabled());
    EXPECT_EQ(manager.CloseFrame(&frame, false, false), HV_OK);
    frame.Clear(false, true, 1);
}

TEST(WidgetListenerHooks, BindingDrawsThroughTheListenerAndUnbindingEmptiesTheHooks)
{
    Log log;
    widget::Widget w;
    layer::Layer layer;
    RecordingListener listener(&log, "W");
    w.SetLayer(&layer, false, true);
    w.SetListener(&listener, true);
    ASSERT_TRUE(layer.mPreDraw);
    ASSERT_TRUE(layer.mPostDraw);
    EXPECT_EQ(layer.mPreDraw.Get()->GetObject(), base::DelegateWord::Of(static_cast<widget::WidgetListener*>(&listener)));
    w.SetListener(&listener, false);
    EXPECT_FALSE(layer.mPreDraw);
    EXPECT_FALSE(layer.mPostDraw);
    EXPECT_EQ(w.mListener, &listener);
}

TEST(WidgetDestructor, ABorrowedLayerLosesTheHooksItsWidgetBound)
{
    layer::Layer layer;
    RecordingListener listener(nullptr, "W");
    {
        widget::Widget w;
        w.SetLayer(&layer, false, true);
        w.SetListener(&listener, true);
        ASSERT_TRUE(layer.mPreDraw);
    }
    EXPECT_FALSE(layer.mPreDraw);
    EXPECT_FALSE(layer.mPostDraw);
}

TEST(WidgetDestructor, LeavesItsParentAndReleasesItsChildren)
{
    widget::Widget parent, orphan;
    auto* middle = new widget::Widget;
    parent.AddChild(middle, nullptr);
    middle->AddChild(&orphan, nullptr);
    delete middle;
    EXPECT_TRUE(parent.mChildren.empty());
    EXPECT_EQ(orphan.mParent, nullptr);
}

TEST(WidgetDestructor, ClearsTheFrameHoverFocusAndCaptureThatNameIt)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard board(&log, "F", 0, 0, 100, 100);
    manager.OpenFrame(&board, false, true, false);
    auto* w = new TestWidget(&log, "W", 10, 10, 20, 20);
    w->self->mTakesCapture = 1;
    board.AddChild(w->self, nullptr);
    manager.OnMouseMove(At(15, 15));
    manager.OnMouseDown(At(15, 15), 1);
    board.mFocusWidget = w->self;
    ASSERT_EQ(board.mHoverWidget, w->self);
    ASSERT_EQ(manager.GetCapture().mWidget, w->self);
    log.clear();
    delete w;
    EXPECT_TRUE(log.empty()) << "no listener calls from a destructor";
    EXPECT_EQ(board.mHoverWidget, nullptr);
    EXPECT_EQ(board.mFocusWidget, nullptr);
    EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
    EXPECT_EQ(manager.GetCapture().mLayer, nullptr);
    EXPECT_TRUE(board.mChildren.empty());
    // Events after the deletion reach the board only.
    EXPECT_EQ(manager.OnMouseMove(At(16, 16)), HV_OK);
    EXPECT_EQ(manager.OnMouseUp(At(16, 16), 1), HV_OK);
    EXPECT_EQ(log, (Log{"F OnHover 1", "F MouseUp 1"}));
    manager.CloseAll(false, false);
}

TEST(WidgetClear, ReleasesHoverFocusAndCaptureBeforeDeleting)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard board(&log, "F", 0, 0, 100, 100);
    manager.OpenFrame(&board, false, true, false);
    auto* outer = new TestWidget(&log, "O", 0, 0, 50, 50);
    auto* inner = new TestWidget(&log, "I", 10, 10, 20, 20);
    inner->self->mTakesCapture = 1;
    board.AddChild(outer->self, nullptr);
    outer->self->AddChild(inner->self, nullptr);
    manager.OnMouseMove(At(15, 15));
    manager.OnMouseDown(At(15, 15), 1);
    board.mFocusWidget = inner->self;
    ASSERT_EQ(board.mHoverWidget, inner->self);
    ASSERT_TRUE(inner->self->IsCaptured());
    log.clear();

    // Clear deletes the widgets; their listener objects stay for the log.
    outer->Release();
    inner->Release();
    ASSERT_EQ(board.Clear(true, true, 1), HV_OK);
    EXPECT_EQ(log, (Log{"I OnHover 0", "O OnChildHover 0", "F OnChildHover 0"}));
    EXPECT_EQ(board.mHoverWidget, nullptr);
    EXPECT_EQ(board.mFocusWidget, nullptr);
    EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
    EXPECT_TRUE(board.mChildren.empty());
    EXPECT_TRUE(board.mLayer->GetChildren().empty());

    log.clear();
    manager.OnMouseMove(At(15, 15));
    manager.OnMouseDown(At(15, 15), 1);
    manager.OnMouseUp(At(15, 15), 1);
    EXPECT_EQ(log, (Log{"F OnHover 1", "F MouseDown 1", "F MouseUp 1"}));
    manager.CloseAll(false, false);
    delete outer;
    delete inner;
}

TEST(WidgetClear, AFailingReleaseKeepsTheChildListed)
{
    Log log;
    RecordingBoard board(&log, "F");
    auto* w = new TestWidget(&log, "W");
    board.AddChild(w->self, nullptr);
    board.SetHover(w->self);
    w->listener.mFail["OnHover"] = HV_FAIL;
    EXPECT_EQ(board.Clear(true, false, 1), HV_FAIL);
    ASSERT_EQ(board.mChildren.size(), 1u);
    w->listener.mFail.clear();
    EXPECT_EQ(board.Clear(true, false, 1), HV_OK);
    w->Release();
    delete w;
}

TEST(WidgetClear, ChildrenLeftAliveForgetTheirParent)
{
    widget::Widget child;
    {
        widget::Widget parent;
        parent.AddChild(&child, nullptr);
        EXPECT_EQ(parent.Clear(false, false, 1), HV_OK);
        EXPECT_TRUE(parent.mChildren.empty());
    }
    EXPECT_EQ(child.mParent, nullptr);
}

TEST(ClassId, PlacesTheCountByDepth)
{
    widget::ClassId root;
    const widget::ClassId first(&root);
    widget::ClassId second(&root);
    widget::ClassId depth2(&second);
    widget::ClassId depth3(&depth2);
    widget::ClassId depth4(&depth3);
    const widget::ClassId depth5(&depth4);
    struct Row
    {
        const widget::ClassId& id;
        uint32_t value;
        int32_t depth;
    };
    const Row rows[] = {
        {first, 1u, 1}, {second, 2u, 1}, {depth2, 0x0102u, 2}, {depth3, 0x010102u, 3}, {depth4, 0x01010102u, 4}, {depth5, 0u, 5},
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(row.id.mValue, row.value) << row.depth;
        EXPECT_EQ(row.id.mDepth, row.depth);
    }
    EXPECT_EQ(root.mDerived, 2);
}

TEST(ClassId, TheCounterWrapsAfter256Derivations)
{
    widget::ClassId root;
    for (int i = 1; i <= 255; ++i)
        EXPECT_EQ(widget::ClassId(&root).mValue, static_cast<uint32_t>(i));
    EXPECT_EQ(widget::ClassId(&root).mValue, 0u);
    EXPECT_EQ(widget::ClassId(&root).mValue, 1u);
}

TEST(ClassId, StockWidgetsGetStableDistinctIdentifiersFromTheRoot)
{
    widget::Frame frame;
    widget::Button button;
    widget::Slider slider;
    widget::Widget plain;
    EXPECT_EQ(plain.GetClassId().mDepth, 0);
    EXPECT_EQ(plain.GetClassId().mValue, 0u);
    const widget::ClassId* ids[] = {&frame.GetClassId(), &button.GetClassId(), &slider.GetClassId()};
    for (const widget::ClassId* id : ids)
        EXPECT_EQ(id->mDepth, 1);
    EXPECT_NE(ids[0]->mValue, ids[1]->mValue);
    EXPECT_NE(ids[1]->mValue, ids[2]->mValue);
    EXPECT_NE(ids[0]->mValue, ids[2]->mValue);
    EXPECT_EQ(&widget::Button().GetClassId(), ids[1]);
    // A skinned widget derives from the button's identifier.
    const widget::ClassId skinned(&button.GetClassId());
    EXPECT_EQ(skinned.mDepth, 2);
    EXPECT_EQ(skinned.mValue & 0xFFu, ids[1]->mValue);
}
} // namespace

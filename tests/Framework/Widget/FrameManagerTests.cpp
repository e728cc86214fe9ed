#include "Core/Base/DeferredDelete.h"
#include "Core/Base/Task.h"
#include "Framework/Widget/Frame.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using namespace widgettest;
using Kind = widget::FrameManager::FrameKind;

std::string StackNames(const widget::FrameManager& manager)
{
    std::string names;
    for (const widget::FrameManager::StackEntry& entry : manager.GetStack())
    {
        if (!names.empty())
            names += ' ';
        names += static_cast<RecordingBoard*>(entry.mFrame)->mName;
    }
    return names;
}

HVResultEnum Open(widget::FrameManager& manager, widget::Frame* frame, int kind, bool queued)
{
    if (kind == Kind::kModalDialog)
        return manager.PushDialog(frame, queued);
    return manager.OpenFrame(frame, kind == Kind::kAboveBoards, true, queued);
}

TEST(FrameManagerStack, BoardsBelowFramesBelowDialogs)
{
    struct Step
    {
        const char* name;
        int kind;
    };
    struct Case
    {
        std::vector<Step> steps;
        std::string expected;
    };
    const Case cases[] = {
        {{{"b1", Kind::kBoard}, {"d1", Kind::kModalDialog}, {"b2", Kind::kBoard}}, "b1 b2 d1"},
        {{{"a1", Kind::kAboveBoards}, {"b1", Kind::kBoard}}, "b1 a1"},
        {{{"d1", Kind::kModalDialog}, {"a1", Kind::kAboveBoards}}, "a1 d1"},
        {{{"a1", Kind::kAboveBoards}, {"d1", Kind::kModalDialog}, {"a2", Kind::kAboveBoards}, {"b1", Kind::kBoard}},
         "b1 a1 a2 d1"},
        {{{"b1", Kind::kBoard},
          {"a1", Kind::kAboveBoards},
          {"d1", Kind::kModalDialog},
          {"a2", Kind::kAboveBoards},
          {"b2", Kind::kBoard},
          {"d2", Kind::kModalDialog}},
         "b1 b2 a1 a2 d1 d2"},
    };
    for (const Case& c : cases)
    {
        for (const bool queued : {false, true})
        {
            SCOPED_TRACE(c.expected + (queued ? " queued" : " immediate"));
            widget::FrameManager manager;
            std::vector<std::unique_ptr<RecordingBoard>> frames;
            for (const Step& step : c.steps)
            {
                frames.push_back(std::make_unique<RecordingBoard>(nullptr, step.name));
                ASSERT_EQ(Open(manager, frames.back().get(), step.kind, queued), HV_OK);
            }
            if (queued)
            {
                EXPECT_TRUE(manager.GetStack().empty());
                ASSERT_EQ(manager.Update(0.0f), HV_OK);
            }
            EXPECT_EQ(StackNames(manager), c.expected);
            EXPECT_EQ(manager.GetActiveFrame(), frames.back().get());
            manager.CloseAll(false, false);
        }
    }
}

TEST(FrameManagerUpdate, QueuedOpensActivateInOrder)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard a(&log, "A"), b(&log, "B");
    manager.OpenFrame(&a, false, true, true);
    manager.OpenFrame(&b, false, true, true);
    EXPECT_TRUE(log.empty());
    ASSERT_EQ(manager.Update(0.0f), HV_OK);
    EXPECT_EQ(log, (Log{"A OnOpen", "A OnActivate", "B OnOpen", "A OnDeactivate", "B OnActivate"}));
    EXPECT_EQ(manager.GetActiveFrame(), &b);
    EXPECT_FALSE(a.mActive);
    EXPECT_TRUE(b.mActive);
    manager.CloseAll(false, false);
}

TEST(FrameManagerUpdate, AnOpenQueuedInsideOnOpenRunsInTheSameUpdate)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard a(&log, "A"), b(&log, "B");
    a.mOnOpen = [&] { manager.OpenFrame(&b, true, false, true); };
    manager.OpenFrame(&a, false, false, true);
    ASSERT_EQ(manager.Update(0.0f), HV_OK);
    EXPECT_EQ(StackNames(manager), "A B");
    manager.CloseAll(false, false);
}

class DeferredRecorder : public base::DeferredDeletable
{
public:
    explicit DeferredRecorder(Log* log) : mLog(log) {}
    ~DeferredRecorder() override { mLog->push_back("deferred deleted"); }
    Log* mLog;
};

TEST(FrameManagerUpdate, TreesThenOpensThenClosesThenDeferredDeletions)
{
    Log log;
    widget::FrameManager manager;
    auto* x = new RecordingBoard(&log, "X");
    RecordingBoard y(&log, "Y");
    manager.OpenFrame(x, false, false, false);
    manager.mDeferredQueue.push_back(new DeferredRecorder(&log));
    manager.CloseFrame(x, true, true);
    manager.OpenFrame(&y, false, false, true);
    log.clear();
    ASSERT_EQ(manager.Update(0.5f), HV_OK);
    EXPECT_EQ(log, (Log{"Y OnOpen", "X OnClose", "X deleted", "deferred deleted"}));
    log.clear();
    // The board's own listener face receives the tree update.
    struct Updating : RecordingBoard
    {
        using RecordingBoard::RecordingBoard;
        HVResultEnum Update(float) override
        {
            mLog->push_back(mName + " Update");
            return HV_OK;
        }
    } z(&log, "Z");
    manager.OpenFrame(&z, false, false, false);
    log.clear();
    ASSERT_EQ(manager.Update(0.5f), HV_OK);
    EXPECT_EQ(log, (Log{"Z Update"}));
    manager.CloseAll(false, false);
}

TEST(FrameManagerUpdate, AFailingRequestRunsOnceAndLaterRequestsStillRun)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard a(&log, "A"), b(&log, "B"), c(&log, "C"), stranger(&log, "S");
    a.mFail["OnOpen"] = HV_FAIL;
    manager.OpenFrame(&a, false, false, true);
    manager.OpenFrame(&b, false, false, true);
    manager.CloseFrame(&stranger, false, true);
    manager.CloseFrame(&b, false, true);
    EXPECT_EQ(manager.Update(0.0f), HV_FAIL);
    EXPECT_EQ(log, (Log{"A OnOpen"}));

    log.clear();
    a.mFail.clear();
    // A newer request waits behind the rest of the failed queue.
    manager.OpenFrame(&c, false, false, true);
    // The close of a frame that is not open fails once, then is gone.
    EXPECT_EQ(manager.Update(0.0f), HV_FAIL);
    EXPECT_EQ(log, (Log{"B OnOpen", "C OnOpen"}));
    log.clear();
    EXPECT_EQ(manager.Update(0.0f), HV_OK);
    EXPECT_EQ(log, (Log{"B OnClose"}));
    log.clear();
    EXPECT_EQ(manager.Update(0.0f), HV_OK);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(StackNames(manager), "A C");
    manager.CloseAll(false, false);
}

TEST(FrameManagerOpen, ASecondOpenKeepsOneEntryAndStillActivates)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard a(&log, "A"), b(&log, "B");
    manager.OpenFrame(&a, false, true, false);
    manager.OpenFrame(&b, false, true, false);
    log.clear();
    EXPECT_EQ(manager.OpenFrame(&a, false, true, false), HV_OK);
    EXPECT_EQ(manager.PushDialog(&a, true), HV_OK);
    EXPECT_EQ(manager.Update(0.0f), HV_OK);
    EXPECT_EQ(StackNames(manager), "A B");
    EXPECT_EQ(log, (Log{"B OnDeactivate", "A OnActivate"}));
    EXPECT_EQ(manager.GetActiveFrame(), &a);
    manager.CloseAll(false, false);
}

TEST(FrameManagerClose, ClosingAFrameThatIsNotOpenRefreshesTheHoverAndFails)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard board(&log, "F", 0, 0, 100, 100), stranger(&log, "S");
    manager.OpenFrame(&board, false, false, false);
    manager.OnMouseMove(At(10, 10));
    board.SetHover(nullptr);
    log.clear();
    EXPECT_EQ(manager.CloseFrame(&stranger, false, false), HV_FAIL);
    EXPECT_EQ(log, (Log{"F OnHover 1"}));
    manager.CloseAll(false, false);
}

TEST(FrameManagerClose, AFrameClosedWhileActiveKeepsItsFlag)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard a(&log, "A");
    manager.OpenFrame(&a, false, true, false);
    ASSERT_EQ(manager.CloseFrame(&a, false, false), HV_OK);
    EXPECT_EQ(manager.GetActiveFrame(), nullptr);
    EXPECT_TRUE(a.mActive);
    EXPECT_EQ(a.mFrameManager, nullptr);
    log.clear();
    manager.OpenFrame(&a, false, true, false);
    EXPECT_EQ(log, (Log{"A OnOpen"}));
    EXPECT_EQ(manager.GetActiveFrame(), &a);
    manager.CloseAll(false, false);
}

// A board that covers (0, 0)-(200, 200), and above it a modal dialog at
// (50, 50)-(100, 100).
struct ModalScene
{
    ModalScene() : board(&log, "B", 0, 0, 200, 200), dialog(&log, "D", 50, 50, 50, 50)
    {
        manager.OpenFrame(&board, false, true, false);
        manager.PushDialog(&dialog, false);
        log.clear();
    }
    ~ModalScene() { manager.CloseAll(false, false); }

    Log log;
    widget::FrameManager manager;
    RecordingBoard board, dialog;
};

TEST(FrameManagerRouting, AModalDialogBlocksTheFramesBelowAndStaysActive)
{
    ModalScene s;
    EXPECT_EQ(s.manager.OnMouseDown(At(10, 10), 1), HV_OK);
    EXPECT_EQ(s.manager.OnMouseMove(At(10, 10)), HV_OK);
    EXPECT_TRUE(s.log.empty());
    EXPECT_EQ(s.manager.GetActiveFrame(), &s.dialog);
    EXPECT_TRUE(s.dialog.mActive);
    EXPECT_EQ(s.manager.OnMouseDown(At(60, 60), 3), HV_OK);
    EXPECT_EQ(s.log, (Log{"D MouseDown 3"}));
}

TEST(FrameManagerRouting, AnUnhandledPressOverBoardsDeactivatesTheActiveBoard)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard a(&log, "A", 0, 0, 100, 100), b(&log, "B", 200, 0, 100, 100);
    manager.OpenFrame(&a, false, true, false);
    manager.OpenFrame(&b, false, false, false);
    log.clear();
    EXPECT_EQ(manager.OnMouseDown(At(150, 50), 1), HV_OK);
    EXPECT_EQ(log, (Log{"A OnDeactivate"}));
    EXPECT_EQ(manager.GetActiveFrame(), nullptr);
    EXPECT_FALSE(a.mActive);
    log.clear();
    EXPECT_EQ(manager.OnMouseDown(At(250, 50), 1), HV_OK);
    EXPECT_EQ(log, (Log{"B OnActivate", "B MouseDown 1"}));
    manager.CloseAll(false, false);
}

TEST(FrameManagerRouting, AnUnhandledMoveClearsTheHover)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard board(&log, "F", 0, 0, 100, 100);
    TestWidget w(&log, "W", 10, 10, 20, 20);
    board.AddChild(w.self, nullptr);
    manager.OpenFrame(&board, false, false, false);
    log.clear();
    manager.OnMouseMove(At(15, 15));
    EXPECT_EQ(manager.GetHoveredFrame(), &board);
    manager.OnMouseMove(At(150, 15));
    EXPECT_EQ(log, (Log{"W OnHover 1", "F OnChildHover 1", "W OnHover 0", "F OnChildHover 0"}));
    EXPECT_EQ(manager.GetHoveredFrame(), nullptr);
    EXPECT_EQ(board.mHoverWidget, nullptr);
    board.RemoveChild(w.self, true);
    manager.CloseAll(false, false);
}

TEST(FrameManagerRouting, EventsReachTheFrameUnderThePointer)
{
    ModalScene s;
    EXPECT_EQ(s.manager.OnDoubleClick(At(60, 60), 1), HV_OK);
    EXPECT_EQ(s.manager.OnMouseUp(At(60, 60), 1), HV_OK);
    EXPECT_EQ(s.manager.OnMouseWheel(At(60, 60), -120), HV_OK);
    EXPECT_EQ(s.log, (Log{"D MouseDown 1", "D MouseUp 1", "D Wheel -120"}));
    EXPECT_EQ(s.manager.GetLastPointer().x, 60.0f);
}

TEST(FrameManagerRouting, AFailingListenerEndsTheRouting)
{
    ModalScene s;
    s.dialog.mFail["MouseDown"] = HV_FAIL;
    EXPECT_EQ(s.manager.OnMouseDown(At(60, 60), 1), HV_FAIL);
}

TEST(FrameManagerRouting, AListenerMayCloseAFrameBelowAtOnce)
{
    Log log;
    int deaths = 0;
    widget::FrameManager manager;
    RecordingBoard bottom(&log, "B", 0, 0, 100, 100);
    auto* middle = new RecordingBoard(&log, "M", 0, 0, 100, 100, &deaths);
    RecordingBoard top(&log, "T", 0, 0, 100, 100);
    manager.OpenFrame(&bottom, false, false, false);
    manager.OpenFrame(middle, false, false, false);
    manager.OpenFrame(&top, false, false, false);
    top.mOnPress = [&] {
        manager.CloseFrame(middle, true, false);
        top.mState = layer::HIT_PASS_ON;
    };
    log.clear();
    EXPECT_EQ(manager.OnMouseDown(At(10, 10), 1), HV_OK);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(log, (Log{"T OnActivate", "M OnClose", "M deleted", "T MouseDown 1", "T OnDeactivate", "B OnActivate",
                        "B MouseDown 1"}));
    EXPECT_EQ(StackNames(manager), "B T");
    manager.CloseAll(false, false);
}

// A widget that records the points its capture delivers.
struct CapturingListener : RecordingListener
{
    using RecordingListener::RecordingListener;
    HVResultEnum OnCapturedMouseMove(widget::CaptureInfo* capture, const math::Vector3& p) override
    {
        points.push_back(p);
        EXPECT_EQ(capture->mWidget, widget);
        return HV_OK;
    }
    std::vector<math::Vector3> points;
    widget::Widget* widget = nullptr;
};

TEST(FrameManagerRouting, TheCaptureTakesEveryEventInItsOwnSpace)
{
    for (const bool inParentSpace : {true, false})
    {
        SCOPED_TRACE(inParentSpace ? "parent space" : "own space");
        widget::FrameManager manager;
        RecordingBoard board(nullptr, "F", 0, 0, 1000, 1000);
        // A group moved to (100, 50) and scaled by 2 holds the widget's layer at (10, 10).
        widget::Widget group;
        group.SetLayer(new layer::Layer, true, false);
        group.mLayer->SetPosition(100, 50, 0);
        group.mLayer->SetScale(2, 2, 1);
        CapturingListener listener(nullptr, "W");
        widget::Widget w;
        w.SetLayer(new layer::RectHitLayer(0, 0, 20, 20), true, false);
        w.mLayer->SetPosition(10, 10, 0);
        w.SetListener(&listener, false);
        listener.widget = &w;
        board.AddChild(&group, nullptr);
        group.AddChild(&w, nullptr);
        manager.OpenFrame(&board, false, false, false);

        widget::CaptureInfo capture;
        capture.Set(&w, w.mLayer, math::Vector3(1, 2, 0), inParentSpace);
        manager.SetCapture(capture);
        EXPECT_TRUE(w.IsCaptured());
        manager.OnMouseMove(At(140, 90));
        manager.OnMouseMove(At(900, 900));
        ASSERT_EQ(listener.points.size(), 2u);
        const math::Vector3 expected = inParentSpace ? math::Vector3(20, 20, 0) : math::Vector3(10, 10, 0);
        EXPECT_FLOAT_EQ(listener.points[0].x, expected.x);
        EXPECT_FLOAT_EQ(listener.points[0].y, expected.y);
        EXPECT_FLOAT_EQ(listener.points[1].x, inParentSpace ? 400.0f : 390.0f);
        EXPECT_EQ(board.mHoverWidget, nullptr) << "the board under the pointer is not hit while captured";

        // The default release ends the capture and refreshes the hover.
        manager.OnMouseUp(At(900, 900), 1);
        EXPECT_FALSE(w.IsCaptured());
        EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
        EXPECT_EQ(board.mHoverWidget, &board);
        manager.CloseAll(false, false);
        board.Clear(false, true, 1);
    }
}

TEST(FrameManagerClose, ClosingAFrameEndsTheCaptureItsWidgetHolds)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard under(&log, "U", 0, 0, 200, 200);
    auto* frame = new RecordingBoard(&log, "F", 0, 0, 100, 100);
    auto* w = new TestWidget(&log, "W", 10, 10, 20, 20);
    w->self->mTakesCapture = 1;
    frame->AddChild(w->self, nullptr);
    manager.OpenFrame(&under, false, false, false);
    manager.OpenFrame(frame, false, false, false);
    manager.OnMouseDown(At(15, 15), 1);
    ASSERT_EQ(manager.GetCapture().mWidget, w->self);

    ASSERT_EQ(manager.CloseFrame(frame, true, false), HV_OK);
    EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
    EXPECT_FALSE(w->self->IsCaptured());
    log.clear();
    manager.OnMouseMove(At(16, 16));
    manager.OnMouseUp(At(16, 16), 1);
    EXPECT_EQ(log, (Log{"U OnHover 1", "U MouseUp 1"}));
    manager.CloseAll(false, false);
    delete w;
}

TEST(FrameManagerDeferred, AWidgetDeletedLaterWhileHoveredLeavesNoTrace)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard board(&log, "F", 0, 0, 100, 100);
    auto* w = new TestWidget(&log, "W", 10, 10, 20, 20);
    board.AddChild(w->self, nullptr);
    manager.OpenFrame(&board, false, false, false);
    manager.OnMouseMove(At(15, 15));
    ASSERT_EQ(board.mHoverWidget, w->self);
    manager.mDeferredQueue.push_back(w->Release());
    ASSERT_EQ(manager.Update(0.0f), HV_OK);
    EXPECT_EQ(board.mHoverWidget, nullptr);
    EXPECT_TRUE(board.mChildren.empty());
    log.clear();
    manager.OnMouseMove(At(16, 16));
    manager.OnMouseMove(At(150, 16));
    EXPECT_EQ(log, (Log{"F OnHover 1", "F OnHover 0"}));
    manager.CloseAll(false, false);
    delete w;
}

TEST(FrameManagerCloseAll, ResetsActiveHoveredAndCaptureAndDeletesTheTrees)
{
    Log log;
    int deaths = 0;
    widget::FrameManager manager;
    auto* board = new RecordingBoard(&log, "F", 0, 0, 100, 100, &deaths);
    auto* dialog = new RecordingBoard(&log, "D", 0, 0, 50, 50, &deaths);
    auto* w = new TestWidget(&log, "W", 10, 10, 20, 20);
    w->self->mTakesCapture = 1;
    dialog->AddChild(w->self, nullptr);
    manager.OpenFrame(board, false, true, false);
    manager.PushDialog(dialog, false);
    manager.OnMouseMove(At(15, 15));
    manager.OnMouseDown(At(15, 15), 1);
    ASSERT_EQ(manager.GetCapture().mWidget, w->self);
    w->Release();
    log.clear();
    ASSERT_EQ(manager.CloseAll(true, true), HV_OK);
    EXPECT_EQ(deaths, 2);
    // The hovered widget is told before Clear deletes it.
    EXPECT_EQ(log, (Log{"F OnClose", "F deleted", "D OnClose", "W OnClose", "W OnHover 0", "D OnChildHover 0",
                        "D deleted"}));
    EXPECT_EQ(manager.GetActiveFrame(), nullptr);
    EXPECT_EQ(manager.GetHoveredFrame(), nullptr);
    EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
    EXPECT_TRUE(manager.GetStack().empty());
    EXPECT_EQ(manager.OnMouseUp(At(15, 15), 1), HV_OK);
    delete w;
}

TEST(FrameTeardown, AFrameDeletedWhileOpenLeavesItsManager)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard below(&log, "B", 0, 0, 100, 100);
    auto* frame = new RecordingBoard(&log, "F", 0, 0, 100, 100);
    TestWidget w(&log, "W", 10, 10, 20, 20);
    w.self->mTakesCapture = 1;
    frame->AddChild(w.self, nullptr);
    manager.OpenFrame(&below, false, false, false);
    manager.OpenFrame(frame, false, true, false);
    manager.CloseFrame(frame, false, true);
    manager.OnMouseMove(At(15, 15));
    manager.OnMouseDown(At(15, 15), 1);
    ASSERT_EQ(manager.GetHoveredFrame(), frame);
    delete frame;
    EXPECT_EQ(StackNames(manager), "B");
    EXPECT_EQ(manager.GetActiveFrame(), nullptr);
    EXPECT_EQ(manager.GetHoveredFrame(), nullptr);
    EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
    EXPECT_EQ(w.self->mFrame, nullptr);
    EXPECT_EQ(w.self->mParent, nullptr);
    // The queued close of the deleted frame was dropped with it.
    EXPECT_EQ(manager.Update(0.0f), HV_OK);
    log.clear();
    manager.OnMouseMove(At(16, 16));
    EXPECT_EQ(log, (Log{"B OnHover 1"}));
    manager.CloseAll(false, false);
}

class CountedTask : public base::Task
{
public:
    explicit CountedTask(int* deaths) : base::Task(false, false, true, false), mDeaths(deaths) {}
    ~CountedTask() override { ++*mDeaths; }
    int* mDeaths;
};

TEST(FrameTeardown, TheManagerUnlinksOpenFramesAndDeletesEveryChildTask)
{
    int deaths = 0;
    auto* manager = new widget::FrameManager;
    RecordingBoard board(nullptr, "F");
    manager->OpenFrame(&board, false, true, false);
    manager->AddChild(new CountedTask(&deaths));
    manager->Process(0.0f);
    manager->AddChild(new CountedTask(&deaths));
    ASSERT_EQ(manager->mChildren.size(), 1u);
    ASSERT_EQ(manager->mPendingChildren.size(), 1u);
    delete manager;
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(board.mFrameManager, nullptr);
}
} // namespace

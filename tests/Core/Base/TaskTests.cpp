#include "Core/Base/Task.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
using Events = std::vector<std::string>;

// Records every call as "<name>.<event>" into a shared log.
class RecordingTask : public base::Task
{
public:
    RecordingTask(std::string name, Events& log, bool deleteWhenFinished = false, bool finishWhenChildrenDone = false,
                  bool keepsParentAlive = true, bool withLock = false, int* destroyed = nullptr)
        : Task(deleteWhenFinished, finishWhenChildrenDone, keepsParentAlive, withLock)
        , mName(std::move(name))
        , mLog(log)
        , mDestroyed(destroyed)
    {
    }
    ~RecordingTask() override
    {
        if (mDestroyed)
            ++*mDestroyed;
    }

    HVResultEnum Start() override
    {
        mLog.push_back(mName + ".start");
        return mStartResult;
    }
    HVResultEnum Update(float) override
    {
        mLog.push_back(mName + ".update");
        if (mOnUpdate)
            mOnUpdate();
        return mUpdateResult;
    }
    void OnStop() override
    {
        mLog.push_back(mName + ".stop");
        if (mOnStop)
            mOnStop();
        base::Task::OnStop();
    }

    std::string mName;
    Events& mLog;
    int* mDestroyed;
    HVResultEnum mStartResult = HV_OK;
    HVResultEnum mUpdateResult = HV_OK;
    std::function<void()> mOnUpdate;
    std::function<void()> mOnStop;
};

Events Turn(base::Task& root, Events& log, HVResultEnum expected = HV_OK)
{
    log.clear();
    EXPECT_EQ(root.Process(0.016f), expected);
    return log;
}

TEST(Task, TurnByTurn)
{
    // A root that finishes once its children are done, with a child that queues
    // a sibling on its parent during the children walk and finishes in turn 3.
    Events log;
    RecordingTask root("root", log, false, true, true, true);
    RecordingTask a("a", log);
    RecordingTask b("b", log);
    int aUpdates = 0;
    a.mOnUpdate = [&] {
        if (++aUpdates == 1)
            root.AddChild(&b);
        if (aUpdates == 2)
            a.mFinished = true;
    };
    b.mOnUpdate = [&] { b.mFinished = true; };
    root.AddChild(&a);

    struct Expect
    {
        Events events;
        std::vector<base::Task*> children;
    };
    const std::vector<Expect> turns = {
        // turn 1: only moves a in
        {{"root.start", "root.update"}, {&a}},
        // turn 2: b joins during the walk, unprocessed until next turn
        {{"a.start", "a.update", "root.update"}, {&a, &b}},
        // turn 3: both finish and leave; nothing keeps the root alive
        {{"a.update", "b.start", "b.update", "root.update", "root.stop"}, {}},
        // turn 4: a finished leaf does nothing
        {{}, {}},
    };
    for (size_t t = 0; t < turns.size(); ++t)
    {
        SCOPED_TRACE("turn " + std::to_string(t + 1));
        EXPECT_EQ(Turn(root, log), turns[t].events);
        EXPECT_EQ(root.mChildren, turns[t].children);
    }
    EXPECT_TRUE(root.mStopRequested);
    EXPECT_TRUE(root.mFinished);
}

TEST(Task, PendingChildAlreadyFinishedLeavesUnprocessed)
{
    Events log;
    int destroyed = 0;
    RecordingTask root("root", log);
    RecordingTask a("a", log);
    auto* done = new RecordingTask("done", log, true, false, true, false, &destroyed);
    done->mFinished = true;
    root.AddChild(&a);
    Turn(root, log);
    a.mOnUpdate = [&] { root.AddChild(done); };
    EXPECT_EQ(Turn(root, log), (Events{"a.start", "a.update", "root.update"}));
    EXPECT_EQ(root.mChildren, (std::vector<base::Task*>{&a}));
    EXPECT_EQ(destroyed, 1);
}

TEST(Task, FailingChildKeepsPendingAndSkipsParentUpdate)
{
    Events log;
    RecordingTask root("root", log, false, true);
    RecordingTask bad("bad", log);
    RecordingTask later("later", log);
    root.AddChild(&bad);
    Turn(root, log);
    bad.mUpdateResult = HV_FAIL;
    root.AddChild(&later);
    EXPECT_EQ(Turn(root, log, HV_FAIL), (Events{"bad.start", "bad.update"}));
    EXPECT_EQ(root.mPendingChildren, (std::vector<base::Task*>{&later}));
    EXPECT_EQ(root.mChildren, (std::vector<base::Task*>{&bad}));
    EXPECT_FALSE(root.mStopRequested);
}

TEST(Task, FailingStartIsNotRetried)
{
    Events log;
    RecordingTask task("t", log);
    task.mStartResult = HV_FAIL;
    EXPECT_EQ(Turn(task, log, HV_FAIL), (Events{"t.start"}));
    EXPECT_EQ(Turn(task, log), (Events{"t.update"}));
}

TEST(Task, FailingUpdateSkipsTheStopCheck)
{
    Events log;
    RecordingTask task("t", log, false, true);
    task.mUpdateResult = HV_FAIL;
    EXPECT_EQ(Turn(task, log, HV_FAIL), (Events{"t.start", "t.update"}));
    EXPECT_FALSE(task.mStopRequested);
}

TEST(Task, RootWithoutChildrenStopsAfterItsOwnUpdate)
{
    Events log;
    RecordingTask root("root", log, false, true);
    EXPECT_EQ(Turn(root, log), (Events{"root.start", "root.update", "root.stop"}));
    EXPECT_TRUE(root.mFinished);
}

TEST(Task, KeepsParentAliveDecidesTheStop)
{
    struct Case
    {
        const char* name;
        bool childKeepsParentAlive;
        bool childFinishedWithChildren;
        bool parentStops;
    };
    const Case cases[] = {
        {"keeping child", true, false, false},
        {"finished child that still has children", true, true, false},
        {"child that does not keep it", false, false, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Events log;
        RecordingTask parent("p", log, false, true);
        RecordingTask child("c", log, false, false, c.childKeepsParentAlive);
        RecordingTask grandchild("g", log);
        if (c.childFinishedWithChildren)
        {
            child.mChildren = {&grandchild};
            child.mFinished = true;
        }
        parent.AddChild(&child);
        Turn(parent, log); // moves the child in
        Turn(parent, log);
        EXPECT_EQ(parent.mStopRequested, c.parentStops);
        if (c.childFinishedWithChildren)
        {
            EXPECT_EQ(parent.mChildren, (std::vector<base::Task*>{&child}));
        }
    }
}

TEST(Task, FinishedChildIsDeletedOnlyWhenFlagged)
{
    for (bool deleteWhenFinished : {true, false})
    {
        SCOPED_TRACE(deleteWhenFinished ? "delete-when-finished" : "unlink only");
        Events log;
        int destroyed = 0;
        RecordingTask root("root", log);
        auto* child = new RecordingTask("c", log, deleteWhenFinished, false, true, false, &destroyed);
        child->mOnUpdate = [child] { child->mFinished = true; };
        root.AddChild(child);
        for (int turn = 0; turn < 4; ++turn)
            Turn(root, log);
        EXPECT_TRUE(root.mChildren.empty());
        EXPECT_EQ(destroyed, deleteWhenFinished ? 1 : 0);
        if (!deleteWhenFinished)
            delete child;
        EXPECT_EQ(destroyed, 1);
    }
}

TEST(Task, StopGoesChildrenFirstDepthFirstAndRepeats)
{
    Events log;
    RecordingTask p("p", log), a("a", log), a1("a1", log), b("b", log), pending("pending", log);
    a.mChildren = {&a1};
    p.mChildren = {&a, &b};
    p.AddChild(&pending);
    p.Stop();
    EXPECT_EQ(log, (Events{"a1.stop", "a.stop", "b.stop", "p.stop"}));
    log.clear();
    p.Stop();
    EXPECT_EQ(log, (Events{"a1.stop", "a.stop", "b.stop", "p.stop"}));
    a.mChildren.clear();
    p.mChildren.clear();
}

TEST(Task, AddChildFromOnStopUnderTheLock)
{
    Events log;
    RecordingTask root("root", log, false, true, true, true);
    RecordingTask late("late", log);
    root.mOnStop = [&] { root.AddChild(&late); };
    // The stop check holds the lock while OnStop queues: the lock must be re-entrant.
    root.Process(0.0f);
    EXPECT_EQ(root.mPendingChildren, (std::vector<base::Task*>{&late}));
    EXPECT_EQ(log, (Events{"root.start", "root.update", "root.stop"}));
}

TEST(Task, DeleteChildrenEmptiesTheList)
{
    Events log;
    int destroyed = 0;
    RecordingTask root("root", log);
    root.mChildren = {new RecordingTask("a", log, false, false, true, false, &destroyed),
                      new RecordingTask("b", log, false, false, true, false, &destroyed)};
    root.DeleteChildren();
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(root.mChildren.empty());
    root.DeleteChildren(); // nothing left to delete twice
    EXPECT_EQ(destroyed, 2);
}
} // namespace

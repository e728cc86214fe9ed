#pragma once

#include "Core/Base/Result.h"

#include <cstddef>
#include <vector>

namespace app
{
class CriticalSection;
}

namespace base
{
// A node of the tree that drives the main loop. A task does not own its
// children: a parent deletes a child only when it unlinks a finished child
// flagged delete-when-finished.
class Task
{
public:
    Task(bool deleteWhenFinished, bool finishWhenChildrenDone, bool keepsParentAlive, bool withLock);
    virtual ~Task();
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    virtual HVResultEnum Start();
    virtual HVResultEnum Update(float dt);
    virtual void OnStop();

    // One turn of this task and its subtree.
    HVResultEnum Process(float dt);
    // Queues the child; it joins at this task's next Process. Safe from other threads.
    bool AddChild(Task* child);
    // Stops the children depth first, then this task. A second call stops again.
    void Stop();
    // Deletes every child and empties the list.
    void DeleteChildren();

    // Unlinks every finished task without children, deleting it first when it
    // is flagged delete-when-finished.
    template <class T>
    static void UnlinkFinished(std::vector<T*>& tasks)
    {
        for (std::size_t i = 0; i < tasks.size();)
        {
            T* task = tasks[i];
            if (task->mFinished && task->mChildren.empty())
            {
                if (task->mDeleteWhenFinished)
                    delete task;
                tasks.erase(tasks.begin() + static_cast<std::ptrdiff_t>(i));
            }
            else
            {
                ++i;
            }
        }
    }

    bool mStopRequested = false;
    bool mFinished = false;
    std::vector<Task*> mChildren;
    std::vector<Task*> mPendingChildren;
    bool mFinishWhenChildrenDone;
    bool mDeleteWhenFinished;
    bool mKeepsParentAlive;
    bool mStarted = false;
    app::CriticalSection* mLock = nullptr;

private:
    void Lock();
    void Unlock();
};
} // namespace base

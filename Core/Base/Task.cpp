#include "Core/Base/Task.h"

#include "Core/App/CriticalSection.h"

namespace base
{
Task::Task(bool deleteWhenFinished, bool finishWhenChildrenDone, bool keepsParentAlive, bool withLock)
    : mFinishWhenChildrenDone(finishWhenChildrenDone)
    , mDeleteWhenFinished(deleteWhenFinished)
    , mKeepsParentAlive(keepsParentAlive)
    , mLock(withLock ? new app::CriticalSection : nullptr)
{
}

Task::~Task()
{
    delete mLock;
}

HVResultEnum Task::Start()
{
    return HV_OK;
}

HVResultEnum Task::Update(float)
{
    return HV_OK;
}

void Task::OnStop()
{
    mFinished = true;
}

void Task::Lock()
{
    if (mLock)
        mLock->Lock();
}

void Task::Unlock()
{
    if (mLock)
        mLock->Unlock();
}

HVResultEnum Task::Process(float dt)
{
    if (mFinished && mChildren.empty())
        return HV_OK;

    if (!mStarted)
    {
        mStarted = true;
        if (const HVResultEnum result = Start(); result != HV_OK)
            return result;
    }

    // Indices, not iterators: a child may queue tasks on us while it runs.
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const HVResultEnum result = mChildren[i]->Process(dt); result != HV_OK)
            return result;
    }

    Lock();
    if (!mPendingChildren.empty())
    {
        mChildren.insert(mChildren.end(), mPendingChildren.begin(), mPendingChildren.end());
        mPendingChildren.clear();
    }
    Unlock();

    UnlinkFinished(mChildren);

    if (const HVResultEnum result = Update(dt); result != HV_OK)
        return result;

    Lock();
    if (!mStopRequested && mPendingChildren.empty() && mFinishWhenChildrenDone)
    {
        bool keptAlive = false;
        for (const Task* child : mChildren)
            keptAlive = keptAlive || child->mKeepsParentAlive;
        if (!keptAlive)
            Stop();
    }
    Unlock();
    return HV_OK;
}

bool Task::AddChild(Task* child)
{
    Lock();
    mPendingChildren.push_back(child);
    Unlock();
    return true;
}

void Task::Stop()
{
    for (size_t i = 0; i < mChildren.size(); ++i)
        mChildren[i]->Stop();
    mStopRequested = true;
    OnStop();
}

void Task::DeleteChildren()
{
    for (size_t i = 0; i < mChildren.size(); ++i)
        delete mChildren[i];
    mChildren.clear();
}
} // namespace base

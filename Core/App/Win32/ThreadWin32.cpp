#include "Core/App/Win32/ThreadWin32.h"

#include "Core/App/Application.h"
#include "Core/App/TimerLocal.h"
#include "Platform/Win32/Threads.h"

namespace app
{
namespace
{
int SystemPriority(int priority)
{
    switch (priority)
    {
    case 0: return THREAD_PRIORITY_IDLE;
    case 1: return THREAD_PRIORITY_BELOW_NORMAL;
    case 3: return THREAD_PRIORITY_ABOVE_NORMAL;
    case 4: return THREAD_PRIORITY_HIGHEST;
    case 5: return THREAD_PRIORITY_TIME_CRITICAL;
    default: return THREAD_PRIORITY_NORMAL;
    }
}
} // namespace

ThreadWin32::~ThreadWin32()
{
    if (mThread)
        CloseHandle(mThread);
}

bool ThreadWin32::StartThread(int priority)
{
    Application::Instance()->RegisterTask(this);
    mThread = CreateThread(nullptr, 0, ThreadEntry, this, CREATE_SUSPENDED, nullptr);
    if (!mThread)
        return false;
    SetThreadPriority(mThread, SystemPriority(priority));
    return true;
}

HVResultEnum ThreadWin32::Run()
{
    TimerLocal timer;
    timer.Start();
    while (!(mFinished && mChildren.empty()))
    {
        timer.Tick();
        // A failing turn does not end the loop.
        Process(timer.mDt);
    }
    timer.Tick();
    return HV_OK;
}

void ThreadWin32::SetPriority(int priority)
{
    SetThreadPriority(mThread, SystemPriority(priority));
}

DWORD ThreadEntry(LPVOID thread)
{
    static_cast<ThreadWin32*>(thread)->Run();
    return 0;
}
} // namespace app

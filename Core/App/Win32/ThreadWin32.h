#pragma once

#include "Core/App/ThreadBase.h"
#include "Platform/Win32/Types.h"

namespace app
{
// A task tree that runs its timed loop on a thread: the main thread for the
// application, an OS thread of its own otherwise.
class ThreadWin32 : public ThreadBase
{
public:
    using ThreadBase::ThreadBase;
    ~ThreadWin32() override;

    // Registers with the application and creates the OS thread suspended.
    virtual bool StartThread(int priority);
    // The timed loop; runs until this task is finished and has no children.
    virtual HVResultEnum Run();
    virtual void SetPriority(int priority);

    HANDLE mThread = nullptr;
};

// The OS thread's start routine: runs the thread object's loop.
DWORD ThreadEntry(LPVOID thread);
} // namespace app

#include "Platform/Win32/Threads.h"

#include "Platform/Win32/LastError.h"

#include <atomic>

HANDLE CreateThread(LPVOID, size_t, LPTHREAD_START_ROUTINE startRoutine, LPVOID parameter,
                    DWORD creationFlags, DWORD* threadId)
{
    if (creationFlags != CREATE_SUSPENDED || !startRoutine)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    static std::atomic<DWORD> nextId{1};
    auto* record = new win32::ThreadRecord;
    record->routine = startRoutine;
    record->parameter = parameter;
    if (threadId)
        *threadId = nextId++;
    return static_cast<win32::KernelObject*>(record);
}

BOOL SetThreadPriority(HANDLE thread, int priority)
{
    auto* record = thread ? dynamic_cast<win32::ThreadRecord*>(static_cast<win32::KernelObject*>(thread))
                          : nullptr;
    if (!record)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    record->priority = priority;
    return TRUE;
}

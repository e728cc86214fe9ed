#pragma once

// Threads. The engine only ever creates them suspended and never resumes them,
// so a suspended thread is a record (routine, parameter, priority) and no OS
// thread is started. Priorities are stored and change nothing: an unprivileged
// process cannot raise them.
#include "Platform/Win32/Handles.h"

#include <cstddef>

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID parameter);

#define CREATE_SUSPENDED 0x00000004u

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15

// Only CREATE_SUSPENDED is supported; other flags fail with ERROR_INVALID_PARAMETER.
HANDLE CreateThread(LPVOID securityAttributes, std::size_t stackSize, LPTHREAD_START_ROUTINE startRoutine,
                    LPVOID parameter, DWORD creationFlags, DWORD* threadId);
BOOL SetThreadPriority(HANDLE thread, int priority);

namespace win32
{
struct ThreadRecord : KernelObject
{
    LPTHREAD_START_ROUTINE routine = nullptr;
    LPVOID parameter = nullptr;
    int priority = THREAD_PRIORITY_NORMAL;
};
} // namespace win32

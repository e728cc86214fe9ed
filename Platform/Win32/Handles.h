#pragma once

// Kernel handles of the stand-in: each points at an object that knows how to
// release what it holds, so one CloseHandle serves files and threads alike.
#include "Platform/Win32/Types.h"

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR) - 1)

class KernelObject
{
public:
    virtual ~KernelObject() = default;
    // Releases the OS resource; false with the last error set when that fails.
    virtual bool Release() = 0;
};

// Destroys the object behind the handle; FALSE (ERROR_INVALID_HANDLE) for a
// null or invalid handle.
BOOL CloseHandle(HANDLE handle);

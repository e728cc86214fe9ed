#pragma once

// Kernel handles: every object a stand-in hands out as a HANDLE derives from
// KernelObject, so the one CloseHandle frees files and threads alike.
#include "Platform/Win32/Types.h"

namespace win32
{
struct KernelObject
{
    virtual ~KernelObject() = default;
    // Releases the OS resource; false with the last error set when that fails.
    virtual bool Release() { return true; }
};
} // namespace win32

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

// Destroys the object behind the handle; FALSE (ERROR_INVALID_HANDLE) for a
// null or invalid handle.
BOOL CloseHandle(HANDLE handle);

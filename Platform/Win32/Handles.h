#pragma once

// Kernel handles: every object a stand-in hands out as a HANDLE derives from
// KernelObject, so the one CloseHandle frees any kind of them.
#include "Platform/Win32/Types.h"

namespace win32
{
struct KernelObject
{
    virtual ~KernelObject() = default;
};
} // namespace win32

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

// Deletes the object behind the handle; FALSE and ERROR_INVALID_HANDLE for null
// or INVALID_HANDLE_VALUE.
BOOL CloseHandle(HANDLE handle);

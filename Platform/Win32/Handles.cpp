#include "Platform/Win32/Handles.h"

#include "Platform/Win32/LastError.h"

BOOL CloseHandle(HANDLE handle)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto* object = static_cast<win32::KernelObject*>(handle);
    const bool released = object->Release();
    delete object;
    return released ? TRUE : FALSE;
}

#include "Platform/Win32/LastError.h"

namespace
{
thread_local DWORD tLastError = 0;
}

void SetLastError(DWORD error)
{
    tLastError = error;
}

DWORD GetLastError()
{
    return tLastError;
}

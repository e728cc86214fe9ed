#include "Platform/Win32/Messages.h"

// No window exists yet, so the queue is always empty.
BOOL PeekMessageW(LPMSG, HWND, UINT, UINT, UINT)
{
    return FALSE;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT DispatchMessageW(const MSG*)
{
    return 0;
}

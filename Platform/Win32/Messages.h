#pragma once

// The thread's message queue, as far as the application's pump needs it.
#include "Platform/Win32/Types.h"

struct MSG
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);

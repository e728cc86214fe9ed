#pragma once

// The thread message queue: one message per PeekMessageW, dispatched
// synchronously to the window procedure. SDL events are translated into
// window messages here (Platform/Win32/Window.h has the message numbers).
#include "Platform/Win32/Types.h"
#include "Platform/Win32/Window.h"

#include <cstdint>
#include <functional>

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

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
// Timers fire as WM_TIMER only when nothing else waits, at most one per due
// interval.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

namespace win32
{
// Work other stand-in layers need run on the main thread; every
// PeekMessageW runs it first. Returns an id for RemoveMainThreadWork.
int AddMainThreadWork(std::function<void()> work);
void RemoveMainThreadWork(int id);

// Test seams: the millisecond clock timers use (null: SDL's ticks) and the
// double-click time (500 ms by default).
void SetTimerClock(std::function<uint64_t()> clock);
void SetDoubleClickTime(uint32_t ms);
uint32_t GetDoubleClickTime();
} // namespace win32

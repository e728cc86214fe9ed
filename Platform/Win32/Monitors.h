#pragma once

// Display monitors over the SDL displays, behind a seam tests can replace.
#include "Platform/Win32/Types.h"

#include <functional>
#include <vector>

struct HMONITOR__;
typedef HMONITOR__* HMONITOR;
struct HDC__;
typedef HDC__* HDC;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;
typedef BOOL (*MONITORENUMPROC)(HMONITOR, HDC, LPRECT, LPARAM);

struct MONITORINFO
{
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
typedef MONITORINFO* LPMONITORINFO;

#define MONITORINFOF_PRIMARY 0x00000001

// Calls `proc` for each monitor; FALSE when it stopped the walk.
BOOL EnumDisplayMonitors(HDC hdc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data);
// Fails for a cbSize other than sizeof(MONITORINFO) or an unknown monitor.
BOOL GetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info);

namespace win32
{
struct DisplayArea
{
    RECT bounds;
    RECT usable;
};

// The displays as SDL reports them; display 0 is the primary. A missing or
// empty display list becomes one 1366 x 768 monitor.
std::vector<DisplayArea> ReadSDLDisplays();
// Test seam: supplies the displays (null restores SDL's).
void SetDisplaySource(std::function<std::vector<DisplayArea>()> source);
} // namespace win32

#include "Platform/Win32/Input.h"
#include "Platform/Win32/WindowState.h"

#include <cstring>

using namespace win32;

namespace
{
struct CursorHandle
{
    SDL_Cursor* cursor = nullptr;
};

// Drivers without global positions (offscreen, Wayland) fall back to the
// position of the last mouse event.
bool HasGlobalMouse()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "windows") == 0
                      || std::strcmp(driver, "cocoa") == 0);
}
} // namespace

BOOL GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    if (SDL_WasInit(SDL_INIT_VIDEO) && HasGlobalMouse())
    {
        int x = 0, y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        *point = {x, y};
        return TRUE;
    }
    *point = GetState().lastCursor;
    return TRUE;
}

HWND WindowFromPoint(POINT point)
{
    for (HWND hwnd : GetState().live)
    {
        WindowImpl* w = LookupWindow(hwnd);
        if (!w->pointerInside || !w->visible)
            continue;
        RECT r = OuterFromClient(w->client, w->appliedStyle);
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return hwnd;
    }
    return nullptr;
}

BOOL ClientToScreen(HWND hwnd, POINT* point)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w || !point)
        return FALSE;
    point->x += w->client.left;
    point->y += w->client.top;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w || !point)
        return FALSE;
    point->x -= w->client.left;
    point->y -= w->client.top;
    return TRUE;
}

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name)
{
    if (name != IDC_ARROW)
        return nullptr;
    static CursorHandle arrow;
    // Drivers without system cursors (offscreen) keep the handle but no SDL cursor.
    if (!arrow.cursor && EnsureVideo())
        arrow.cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    return reinterpret_cast<HCURSOR>(&arrow);
}

HCURSOR SetCursor(HCURSOR cursor)
{
    State& s = GetState();
    HCURSOR previous = s.cursor;
    s.cursor = cursor;
    if (cursor)
        if (SDL_Cursor* c = reinterpret_cast<CursorHandle*>(cursor)->cursor)
            SDL_SetCursor(c);
    return previous;
}

BOOL ReleaseCapture()
{
    return TRUE; // nothing is ever captured
}

#include "Platform/Win32/Monitors.h"
#include "Platform/Win32/WindowState.h"

using namespace win32;

namespace
{
std::function<std::vector<DisplayArea>()>& Source()
{
    static std::function<std::vector<DisplayArea>()> source;
    return source;
}

RECT ToRect(const SDL_Rect& r)
{
    return {r.x, r.y, r.x + r.w, r.y + r.h};
}

bool Empty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

std::vector<DisplayArea> Displays()
{
    std::vector<DisplayArea> displays = Source() ? Source()() : ReadSDLDisplays();
    bool usable = !displays.empty();
    for (const DisplayArea& d : displays)
        usable = usable && !Empty(d.bounds);
    if (!usable)
    {
        // Something plausible to choose a display mode from.
        const RECT fallback{0, 0, 1366, 768};
        displays = {{fallback, fallback}};
    }
    return displays;
}

HMONITOR ToHandle(size_t index)
{
    return reinterpret_cast<HMONITOR>(index + 1);
}
} // namespace

namespace win32
{
std::vector<DisplayArea> ReadSDLDisplays()
{
    std::vector<DisplayArea> displays;
    if (!EnsureVideo())
        return displays;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i)
    {
        SDL_Rect bounds, work;
        if (SDL_GetDisplayBounds(i, &bounds) != 0)
            continue;
        if (SDL_GetDisplayUsableBounds(i, &work) != 0)
            work = bounds;
        displays.push_back({ToRect(bounds), ToRect(work)});
    }
    return displays;
}

void SetDisplaySource(std::function<std::vector<DisplayArea>()> source)
{
    Source() = std::move(source);
}
} // namespace win32

BOOL EnumDisplayMonitors(HDC hdc, LPCRECT, MONITORENUMPROC proc, LPARAM data)
{
    if (!proc)
        return FALSE;
    std::vector<DisplayArea> displays = Displays();
    for (size_t i = 0; i < displays.size(); ++i)
    {
        RECT r = displays[i].bounds;
        if (!proc(ToHandle(i), hdc, &r, data))
            return FALSE;
    }
    return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info)
{
    if (!info || info->cbSize != sizeof(MONITORINFO))
        return FALSE;
    const uintptr_t handle = reinterpret_cast<uintptr_t>(monitor);
    std::vector<DisplayArea> displays = Displays();
    if (handle == 0 || handle > displays.size())
        return FALSE;
    const DisplayArea& d = displays[handle - 1];
    info->rcMonitor = d.bounds;
    info->rcWork = Empty(d.usable) ? d.bounds : d.usable;
    info->dwFlags = handle == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

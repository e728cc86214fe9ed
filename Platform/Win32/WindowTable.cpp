#include "Platform/Win32/WindowState.h"

#include "Platform/Win32/X11Errors.h"

#include <algorithm>

namespace win32
{
State& GetState()
{
    // Never destroyed: windows still owned by singletons are destroyed by an
    // exit handler registered before this, which would otherwise run after it.
    static State* state = new State;
    return *state;
}

WindowImpl* LookupWindow(HWND hwnd)
{
    State& s = GetState();
    if (!hwnd || std::find(s.live.begin(), s.live.end(), hwnd) == s.live.end())
        return nullptr;
    return static_cast<WindowImpl*>(hwnd->impl);
}

HWND FindWindowBySDLId(uint32_t id)
{
    for (HWND hwnd : GetState().live)
    {
        auto* w = static_cast<WindowImpl*>(hwnd->impl);
        if (w->sdlId == id && !w->destroying)
            return hwnd;
    }
    return nullptr;
}

RemoteWindow* FindRemote(HWND hwnd)
{
    State& s = GetState();
    for (auto& h : s.all)
        if (h.get() == hwnd && h->impl && !LookupWindow(hwnd))
            for (auto& r : s.remotes)
                if (r.get() == h->impl)
                    return r.get();
    return nullptr;
}

bool EnsureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // Clicks outside the window must not be captured, and a full-screen
    // window minimises on focus loss as an exclusive one would.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
    // Closing the window already gives WM_CLOSE; a second one from SDL_QUIT is noise.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    InstallX11ErrorHandler();
    return true;
}

uint64_t Now()
{
    State& s = GetState();
    return s.clock ? s.clock() : SDL_GetTicks64();
}

RECT OuterFromClient(const RECT& client, DWORD style)
{
    RECT r = client;
    AdjustWindowRect(&r, style, FALSE);
    return r;
}

RECT ClientFromOuter(const RECT& outer, DWORD style)
{
    RECT r = outer;
    if ((style & WS_CAPTION) == WS_CAPTION)
        r.top += kTitleBarHeight;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

SDL_Window* GetSDLWindow(HWND hwnd)
{
    return LookupWindow(hwnd) ? hwnd->sdlWindow : nullptr;
}

void ApplyGLAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Direct3D's D24S8, so that the renderer can draw straight into the window.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
}

void SetCreateWindowFails(bool fails)
{
    GetState().createFails = fails;
}
} // namespace win32

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL)
{
    if (!rect)
        return FALSE;
    if ((style & WS_CAPTION) == WS_CAPTION)
        rect->top -= win32::kTitleBarHeight;
    return TRUE;
}

BOOL IsWindow(HWND hwnd)
{
    return win32::LookupWindow(hwnd) ? TRUE : FALSE;
}

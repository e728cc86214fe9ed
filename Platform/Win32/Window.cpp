#include "Platform/Win32/Input.h"
#include "Platform/Win32/WindowState.h"

#include "Platform/Win32/Utf8Lossy.h"
#include "Platform/Win32/X11FullScreen.h"

#include <algorithm>

using namespace win32;

namespace
{
// The program's one icon resource.
constexpr uintptr_t kProgramIconId = 109;

struct IconHandle
{
    SDL_Surface* surface;
};

const WindowClass* FindClass(LPCWSTR name)
{
    if (!name)
        return nullptr;
    for (const WindowClass& c : GetState().classes)
        if (c.name == name)
            return &c;
    return nullptr;
}

bool IsPopup(DWORD style)
{
    return (style & WS_CAPTION) != WS_CAPTION;
}

// The display whose whole area the client rectangle covers, or -1.
int CoveredDisplay(const RECT& c)
{
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i)
    {
        SDL_Rect b;
        if (SDL_GetDisplayBounds(i, &b) != 0)
            continue;
        if (c.left == b.x && c.top == b.y && c.right - c.left == b.w && c.bottom - c.top == b.h)
            return i;
    }
    return -1;
}

// Puts the SDL window where the client rectangle and the applied style say:
// a pop-up covering a display is desktop full screen there, any other pop-up
// a borderless window, a captioned style a bordered fixed-size window.
// Entering full screen is the one SDL call (the window manager sizes, places
// and undecorates the window; extra moves and border changes race with it);
// leaving it comes first, before the window is framed, sized and placed.
void ApplyGeometry(HWND hwnd, WindowImpl& w)
{
    SDL_Window* sdl = hwnd->sdlWindow;
    const RECT& c = w.client;
    const bool fullScreen = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN) != 0;
    const int display = IsPopup(w.appliedStyle) ? CoveredDisplay(c) : -1;
    if (display >= 0)
    {
        // Full screen goes to the display the window is on.
        if (fullScreen && SDL_GetWindowDisplayIndex(sdl) == display)
            return;
        if (fullScreen)
            SDL_SetWindowFullscreen(sdl, 0);
        if (SDL_GetWindowDisplayIndex(sdl) != display)
            SDL_SetWindowPosition(sdl, c.left, c.top);
        SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(display, &bounds) == 0)
            CoverDisplayWithoutWindowManager(sdl, bounds);
        return;
    }
    if (fullScreen)
        SDL_SetWindowFullscreen(sdl, 0);
    SDL_SetWindowBordered(sdl, IsPopup(w.appliedStyle) ? SDL_FALSE : SDL_TRUE);
    SDL_SetWindowResizable(sdl, SDL_FALSE);
    SDL_SetWindowSize(sdl, std::max<LONG>(1, c.right - c.left), std::max<LONG>(1, c.bottom - c.top));
    SDL_SetWindowPosition(sdl, c.left, c.top);
}

void Show(HWND hwnd, WindowImpl& w)
{
    if (!w.visible)
        w.paintPending = true; // a newly shown window needs its first paint
    w.visible = true;
    SDL_ShowWindow(hwnd->sdlWindow);
}

LPARAM SizeParam(const RECT& r)
{
    return MAKELPARAM(r.right - r.left, r.bottom - r.top);
}
} // namespace

ATOM RegisterClassExW(const WNDCLASSEXW* wc)
{
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXW) || !wc->lpszClassName || !wc->lpfnWndProc
        || FindClass(wc->lpszClassName))
        return 0;
    State& s = GetState();
    s.classes.push_back({wc->lpszClassName, wc->lpfnWndProc, wc->hIcon, wc->hCursor});
    return static_cast<ATOM>(0xC000 + s.classes.size());
}

HICON LoadIconW(HINSTANCE, LPCWSTR name)
{
    if (reinterpret_cast<uintptr_t>(name) != kProgramIconId)
        return nullptr;
    static IconHandle icon{ProgramIcon()};
    return icon.surface ? reinterpret_cast<HICON>(&icon) : nullptr;
}

HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, LPVOID)
{
    State& s = GetState();
    const WindowClass* cls = FindClass(className);
    if (s.createFails || !cls || !EnsureVideo())
        return nullptr;
    if (!s.textInputStarted)
    {
        SDL_StartTextInput();
        s.textInputStarted = true;
    }

    RECT outer{x, y, x + std::max(0, width), y + std::max(0, height)};
    RECT client = ClientFromOuter(outer, style);
    ApplyGLAttributes();
    std::string title = WideToUtf8Lossy(windowName ? windowName : L"");
    SDL_Window* sdl = SDL_CreateWindow(title.c_str(), client.left, client.top,
                                       std::max<LONG>(1, client.right - client.left),
                                       std::max<LONG>(1, client.bottom - client.top),
                                       SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN
                                           | (IsPopup(style) ? SDL_WINDOW_BORDERLESS : 0));
    if (!sdl)
        return nullptr;

    auto impl = new WindowImpl;
    impl->proc = cls->proc;
    impl->className = cls->name;
    impl->title = windowName ? windowName : L"";
    impl->style = impl->appliedStyle = style;
    impl->client = client;
    impl->sdlId = SDL_GetWindowID(sdl);
    s.all.push_back(std::make_unique<HWND__>());
    HWND hwnd = s.all.back().get();
    hwnd->sdlWindow = sdl;
    hwnd->impl = impl;
    s.live.push_back(hwnd);
    if (cls->icon)
        SDL_SetWindowIcon(sdl, reinterpret_cast<IconHandle*>(cls->icon)->surface);
    AdoptInstanceLock(*impl, impl->className, impl->title);
    ApplyGeometry(hwnd, *impl);

    if (Send(hwnd, WM_CREATE, 0, 0) == -1)
    {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!LookupWindow(hwnd))
        return nullptr;
    Send(hwnd, WM_SIZE, SIZE_RESTORED, SizeParam(impl->client));
    if (LookupWindow(hwnd))
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(impl->client.left, impl->client.top));
    if (!LookupWindow(hwnd))
        return nullptr;
    if (style & WS_VISIBLE)
        Show(hwnd, *impl);
    return hwnd;
}

void win32::HideWindowsLeftHidden()
{
    for (HWND hwnd : GetState().live)
    {
        auto* w = static_cast<WindowImpl*>(hwnd->impl);
        if (!w->visible && (SDL_GetWindowFlags(hwnd->sdlWindow) & SDL_WINDOW_SHOWN))
            SDL_HideWindow(hwnd->sdlWindow);
    }
}

BOOL DestroyWindow(HWND hwnd)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w || w->destroying)
        return FALSE;
    w->destroying = true;
    Send(hwnd, WM_DESTROY, 0, 0);
    State& s = GetState();
    s.live.erase(std::find(s.live.begin(), s.live.end(), hwnd));
    DropMessages(hwnd);
    if (s.hasLastKeyDown && s.lastKeyDown.hwnd == hwnd)
        s.hasLastKeyDown = false;
    ReleaseInstanceLock(*w);
    SDL_DestroyWindow(hwnd->sdlWindow);
    hwnd->sdlWindow = nullptr;
    hwnd->impl = nullptr;
    delete w;
    return TRUE;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = 0;
    if (index == GWLP_USERDATA)
    {
        old = w->userData;
        w->userData = value;
    }
    else if (index == GWL_STYLE)
    {
        old = w->style;
        w->style = static_cast<DWORD>(value);
    }
    return old;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w)
        return 0;
    if (index == GWLP_USERDATA)
        return w->userData;
    if (index == GWL_STYLE)
        return w->style;
    return 0;
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    // Only the style fits 32 bits; the user data takes the pointer-sized call.
    if (index != GWL_STYLE)
        return 0;
    return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, static_cast<DWORD>(value)));
}

LONG GetWindowLongW(HWND hwnd, int index)
{
    return index == GWL_STYLE ? static_cast<LONG>(GetWindowLongPtrW(hwnd, index)) : 0;
}

BOOL ShowWindow(HWND hwnd, int command)
{
    if (RemoteWindow* remote = FindRemote(hwnd))
        return command == SW_RESTORE && SendRestoreRequest(*remote) ? TRUE : FALSE;
    WindowImpl* w = LookupWindow(hwnd);
    if (!w)
        return FALSE;
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    switch (command)
    {
    case SW_HIDE:
        // The SDL window is hidden at the next pump if it is still hidden
        // then: a hide and show around a restyle (the full-screen switch)
        // must not unmap it, or the window manager's focus change minimises
        // the new full-screen window.
        w->visible = false;
        break;
    case SW_SHOW:
    case SW_SHOWNORMAL:
        Show(hwnd, *w);
        break;
    case SW_RESTORE:
        Show(hwnd, *w);
        if (w->minimized || w->maximized)
        {
            w->minimized = w->maximized = false;
            SDL_RestoreWindow(hwnd->sdlWindow);
            Send(hwnd, WM_SIZE, SIZE_RESTORED, SizeParam(w->client));
        }
        break;
    default:
        break;
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND hwnd)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w)
        return FALSE;
    if (w->paintPending)
        Send(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL SetForegroundWindow(HWND hwnd)
{
    if (!LookupWindow(hwnd))
        return FALSE;
    SDL_RaiseWindow(hwnd->sdlWindow);
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w)
        return FALSE;
    RECT outer = OuterFromClient(w->client, w->appliedStyle);
    if (!(flags & SWP_NOMOVE))
    {
        outer.right += x - outer.left;
        outer.bottom += y - outer.top;
        outer.left = x;
        outer.top = y;
    }
    if (!(flags & SWP_NOSIZE))
    {
        outer.right = outer.left + std::max(0, cx);
        outer.bottom = outer.top + std::max(0, cy);
    }
    const RECT old = w->client;
    w->appliedStyle = w->style;
    w->client = ClientFromOuter(outer, w->appliedStyle);
    ApplyGeometry(hwnd, *w);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    if (old.right - old.left != w->client.right - w->client.left
        || old.bottom - old.top != w->client.bottom - w->client.top)
        Send(hwnd, WM_SIZE, SIZE_RESTORED, SizeParam(w->client));
    if (LookupWindow(hwnd) && (old.left != w->client.left || old.top != w->client.top))
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(w->client.left, w->client.top));
    if (LookupWindow(hwnd) && (flags & SWP_SHOWWINDOW))
        Show(hwnd, *w);
    return TRUE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w || !placement)
        return FALSE;
    placement->flags = 0;
    placement->showCmd = w->minimized ? SW_SHOWMINIMIZED : w->maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement->ptMinPosition = {-1, -1};
    placement->ptMaxPosition = {-1, -1};
    placement->rcNormalPosition = OuterFromClient(w->client, w->appliedStyle);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (1 << 29)))
            Send(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_QUERYOPEN:
        return TRUE;
    default:
        return 0;
    }
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Send(hwnd, message, wParam, lParam);
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w || !paint)
        return nullptr;
    w->paintPending = false;
    *paint = {};
    // Nothing draws through it; any non-null value says "painting".
    paint->hdc = reinterpret_cast<HDC>(hwnd);
    GetClientRect(hwnd, &paint->rcPaint);
    return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT*)
{
    return LookupWindow(hwnd) ? TRUE : FALSE;
}

#include "Platform/Win32/X11FullScreen.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace win32
{
namespace
{
// A compliant window manager names its check window on the root window.
bool WindowManagerRuns(Display* display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                          &type, &format, &count, &after, &data);
    if (data)
        XFree(data);
    return status == Success && type == XA_WINDOW && count == 1;
}
} // namespace

void CoverDisplayWithoutWindowManager(SDL_Window* window, const SDL_Rect& bounds)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    Display* display = info.info.x11.display;
    if (WindowManagerRuns(display))
        return;
    XMoveResizeWindow(display, info.info.x11.window, bounds.x, bounds.y, unsigned(bounds.w), unsigned(bounds.h));
    XRaiseWindow(display, info.info.x11.window);
    XFlush(display);
}
} // namespace win32

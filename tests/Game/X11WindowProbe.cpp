#include "X11WindowProbe.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace gametest
{
X11WindowProbe::X11WindowProbe(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    mDisplay = info.info.x11.display;
    mWindow = info.info.x11.window;
}

X11WindowState X11WindowProbe::Read() const
{
    X11WindowState state;
    auto* display = static_cast<Display*>(mDisplay);
    if (!display)
        return state;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, mWindow, &attributes))
    {
        state.viewable = attributes.map_state == IsViewable;
        state.width = attributes.width;
        state.height = attributes.height;
    }
    const Atom wmState = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom hidden = XInternAtom(display, "_NET_WM_STATE_HIDDEN", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, mWindow, wmState, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data)
            == Success
        && data)
    {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i)
            state.hidden = state.hidden || atoms[i] == hidden;
        XFree(data);
    }
    return state;
}

std::string Describe(const X11WindowState& state)
{
    return std::string(state.viewable ? "viewable" : "not viewable") + (state.hidden ? ", hidden" : "") + ", "
           + std::to_string(state.width) + "x" + std::to_string(state.height);
}
} // namespace gametest

#pragma once

// What the X server and the window manager say of an SDL window: kept apart
// from the engine's headers, which Xlib's macros would clash with.
#include <SDL.h>

#include <string>

namespace gametest
{
struct X11WindowState
{
    bool viewable = false; // mapped, and its parents too
    bool hidden = false;   // _NET_WM_STATE_HIDDEN: minimised by the window manager
    int width = 0;
    int height = 0;
};

class X11WindowProbe
{
public:
    explicit X11WindowProbe(SDL_Window* window);
    bool Valid() const { return mDisplay != nullptr; }
    X11WindowState Read() const;

private:
    void* mDisplay = nullptr;
    unsigned long mWindow = 0;
};

std::string Describe(const X11WindowState& state);
} // namespace gametest

#pragma once

#include <SDL.h>

namespace win32
{
// SDL makes a window full screen by asking the window manager; with none
// running on the X server the request goes unanswered and the window keeps
// its size. Then this puts the window over the display's bounds itself.
// Does nothing off the X11 driver or under a window manager.
void CoverDisplayWithoutWindowManager(SDL_Window* window, const SDL_Rect& bounds);
} // namespace win32

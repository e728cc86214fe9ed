#pragma once

#include "Core/App/Win32/WindowWin32.h"

namespace app
{
class Window : public WindowWin32
{
public:
    using WindowWin32::WindowWin32;

    // The stored outer size: the client size in full screen, larger by the
    // frame in a window.
    virtual int GetClientWidth();
    virtual int GetClientHeight();
};
} // namespace app

#include "Platform/Win32/X11Errors.h"

#include "Platform/Win32/DebugOutput.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace win32
{
namespace
{
constexpr int kErrorTextSize = 160;

int LogX11Error(Display* display, XErrorEvent* error)
{
    char text[kErrorTextSize] = {};
    XGetErrorText(display, error->error_code, text, sizeof(text));
    char line[2 * kErrorTextSize];
    std::snprintf(line, sizeof(line), "X error ignored: %s (request %u.%u, resource 0x%lx)\n", text,
                  unsigned(error->request_code), unsigned(error->minor_code), error->resourceid);
    OutputDebugStringW(std::wstring(line, line + std::strlen(line)).c_str());
    return 0;
}
} // namespace

void InstallX11ErrorHandler()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0)
        return;
    XSetErrorHandler(&LogX11Error);
}
} // namespace win32

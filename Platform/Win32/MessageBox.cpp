#include "Platform/Win32/MessageBox.h"

#include "Platform/Win32/Utf8Lossy.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
// The offscreen and dummy drivers have no screen; SDL would still open the box
// on an X display when one is set, and a headless run would wait for a click.
bool IsHeadless()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver)
        driver = SDL_getenv("SDL_VIDEODRIVER");
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}
} // namespace

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type)
{
    const std::wstring wideText = text ? text : L"";
    const std::wstring wideCaption = caption ? caption : L"";
    const std::string utf8Text = win32::WideToUtf8Lossy(wideText);
    const std::string utf8Caption = win32::WideToUtf8Lossy(wideCaption);
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    if (IsHeadless())
        return IDOK;
    const Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Fails at once when no display can show it. On X11 it shows beside the
    // video driver's own windows, with or without a window manager.
    SDL_ShowSimpleMessageBox(flags, utf8Caption.c_str(), utf8Text.c_str(), nullptr);
    return IDOK;
}

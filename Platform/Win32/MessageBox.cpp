#include "Platform/Win32/MessageBox.h"

#include "Platform/Win32/Utf8Lossy.h"

#include <SDL.h>

#include <cstdio>

namespace
{
std::function<void(const std::wstring&, const std::wstring&, UINT)>& Hook()
{
    static std::function<void(const std::wstring&, const std::wstring&, UINT)> hook;
    return hook;
}
} // namespace

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type)
{
    const std::wstring wideText = text ? text : L"";
    const std::wstring wideCaption = caption ? caption : L"";
    if (Hook())
    {
        Hook()(wideText, wideCaption, type);
        return IDOK;
    }
    const std::string utf8Text = win32::WideToUtf8Lossy(wideText);
    const std::string utf8Caption = win32::WideToUtf8Lossy(wideCaption);
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    const Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Fails at once when no display can show it.
    SDL_ShowSimpleMessageBox(flags, utf8Caption.c_str(), utf8Text.c_str(), nullptr);
    return IDOK;
}

namespace win32::testing
{
void SetMessageBoxHook(std::function<void(const std::wstring&, const std::wstring&, UINT)> hook)
{
    Hook() = std::move(hook);
}
} // namespace win32::testing

#pragma once

// Message boxes over SDL. Caption and text always go to standard error first,
// so a headless run still shows them and never hangs waiting for a click; on
// the offscreen or dummy video driver no box is opened at all.
#include "Platform/Win32/Types.h"

#include <functional>
#include <string>

#define MB_OK 0x00000000u
#define MB_ICONERROR 0x00000010u
#define IDOK 1

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

namespace win32::testing
{
// Records calls instead of showing anything; an empty function restores SDL.
void SetMessageBoxHook(std::function<void(const std::wstring& text, const std::wstring& caption, UINT type)> hook);
} // namespace win32::testing

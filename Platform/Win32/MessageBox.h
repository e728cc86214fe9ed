#pragma once

// Message boxes over SDL. Caption and text always go to standard error first,
// so a headless run still shows them and never hangs waiting for a click; on
// the offscreen or dummy video driver no box is opened at all.
#include "Platform/Win32/Types.h"


#define MB_OK 0x00000000u
#define MB_ICONERROR 0x00000010u
#define IDOK 1

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

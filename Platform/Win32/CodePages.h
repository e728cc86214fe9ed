#pragma once

// Code-page conversions. The ANSI code page is UTF-8 here, as on any Linux
// system; the OEM code page is CP437.
#include "Platform/Win32/Types.h"

#define CP_ACP 0u

// CP_ACP only, flags 0. A source length of -1 means "up to and including the
// terminating zero"; a destination length of 0 asks for the length needed.
// Each bad UTF-8 sequence becomes U+FFFD.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR dest,
                        int destLength);
// A character with no UTF-8 form (a surrogate, above U+10FFFF) becomes the
// first byte of defaultChar ('?' when it is null) and sets *usedDefaultChar.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR dest,
                        int destLength, LPCSTR defaultChar, BOOL* usedDefaultChar);

// CP437 <-> code points, length characters each; a character without a CP437
// form becomes '?'.
BOOL OemToCharBuffW(LPCSTR source, LPWSTR dest, DWORD length);
BOOL CharToOemBuffW(LPCWSTR source, LPSTR dest, DWORD length);

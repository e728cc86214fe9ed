#pragma once

// Special folders. Application data follows the XDG rules ($XDG_DATA_HOME when
// absolute, else $HOME/.local/share, created 0700 when missing); the documents
// folder is the home folder. The buffer holds PATH_MAX characters.
#include "Platform/Win32/Types.h"

#define CSIDL_PERSONAL 0x0005
#define CSIDL_APPDATA 0x001a

#define HRESULT_FROM_WIN32(error) \
    ((error) == 0 ? (HRESULT)0 : (HRESULT)((((uint32_t)(error)) & 0x0000FFFFu) | 0x80070000u))

// E_FAIL only when the application-data folder is missing and cannot be
// created; any other failure (no home, a result that does not fit) is another error.
HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path);

#pragma once

// Folder enumeration and the folder calls of the file system, over POSIX.
// Paths are wide; '\\' counts as '/'.
#include "Platform/Win32/Handles.h"
#include "Platform/Win32/Types.h"

#ifndef MAX_PATH
#define MAX_PATH 260
#endif

#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080

struct WIN32_FIND_DATAW
{
    DWORD dwFileAttributes;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    WCHAR cFileName[MAX_PATH];
};
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;

// A path whose last component is "*" lists that folder (all entries read at
// once, sorted by name case-insensitively, ties by bytes; "." and ".." among
// them). Any other path looks up exactly that one name, following links.
// A path ending in a separator finds nothing; '*' and '?' elsewhere are literal.
HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);
BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData);
BOOL FindClose(HANDLE findFile);

// Fails when the folder exists or its parent does not.
BOOL CreateDirectoryW(LPCWSTR pathName, void* securityAttributes);
// Fails on a folder.
BOOL DeleteFileW(LPCWSTR fileName);
BOOL SetCurrentDirectoryW(LPCWSTR pathName);

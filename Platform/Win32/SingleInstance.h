#pragma once

// A second copy of the program finds the first through an exclusive lock
// file in the user-data folder and asks it, over a local socket, to restore
// its window. FindWindowW (Platform/Win32/Window.h) is the entry.
#include <string>

namespace win32
{
// The folder that holds the lock files; until it is set, no first copy is
// ever found.
void SetSingleInstanceFolder(const std::wstring& folder);
// Restore requests this process accepted so far.
unsigned GetRestoreRequestCount();
} // namespace win32

#pragma once

// The executable's module: its handle and its path from /proc/self/exe.
#include "Platform/Win32/Types.h"

#include <optional>
#include <string>

// With no name: a non-null token for the executable; any other name: null.
HMODULE GetModuleHandleW(LPCWSTR moduleName);
// Copies the executable's path. A path that does not fit is cut to size - 1
// characters and ERROR_INSUFFICIENT_BUFFER is set; returns the characters copied.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);

namespace win32::testing
{
// Substitutes the path /proc/self/exe reports (UTF-8); nullopt restores it.
void SetModuleFileNameHook(std::optional<std::string> path);
} // namespace win32::testing

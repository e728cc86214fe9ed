#pragma once

// The process command line. main records the shell's arguments; GetCommandLineW
// joins them with Windows quoting and CommandLineToArgvW splits by the same
// rules, so the engine receives exactly the shell's arguments.
#include "Platform/Win32/Types.h"

#include <string>
#include <vector>

typedef void* HLOCAL;

LPCWSTR GetCommandLineW();
// One LocalFree-able block: the pointer array followed by the strings.
// An empty command line gives the module's path as the only argument.
LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count);
HLOCAL LocalFree(HLOCAL memory);

namespace win32
{
// Records the process arguments (UTF-8, program name first; bad sequences become U+FFFD).
void SetProcessArguments(int argc, const char* const* argv);
void SetProcessArguments(const std::vector<std::string>& arguments);

// The quoting and splitting rules on their own.
std::wstring QuoteArgument(const std::wstring& argument);
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);
} // namespace win32

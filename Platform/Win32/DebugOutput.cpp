#include "Platform/Win32/DebugOutput.h"

#include "Platform/Win32/Utf8Lossy.h"

#include <cstdio>

void OutputDebugStringW(LPCWSTR text)
{
    if (!text)
        return;
    const std::string utf8 = win32::WideToUtf8Lossy(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

#include "Platform/Win32/PathText.h"

#include "Platform/Win32/Utf8Lossy.h"

#include <algorithm>

namespace win32
{
std::string PosixPath(const wchar_t* path)
{
    if (!path)
        return {};
    std::wstring wide(path);
    std::replace(wide.begin(), wide.end(), L'\\', L'/');
    return WideToUtf8Lossy(wide);
}
}

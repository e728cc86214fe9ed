#include "Platform/Win32/Module.h"

#include "Platform/Win32/LastError.h"
#include "Platform/Win32/Utf8Lossy.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

namespace
{
std::optional<std::string>& PathHook()
{
    static std::optional<std::string> hook;
    return hook;
}

int gModuleToken;

bool ExecutablePath(std::string& path)
{
    if (PathHook())
    {
        path = *PathHook();
        return true;
    }
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer));
    if (length < 0 || static_cast<size_t>(length) >= sizeof(buffer))
        return false;
    path.assign(buffer, static_cast<size_t>(length));
    return true;
}
} // namespace

HMODULE GetModuleHandleW(LPCWSTR moduleName)
{
    if (moduleName)
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(&gModuleToken);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size)
{
    if (module && module != reinterpret_cast<HMODULE>(&gModuleToken))
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    std::string path;
    if (!ExecutablePath(path))
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    if (size == 0 || !fileName)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::wstring wide = win32::Utf8ToWideLossy(path);
    if (wide.size() < size)
    {
        wide.copy(fileName, wide.size());
        fileName[wide.size()] = L'\0';
        return static_cast<DWORD>(wide.size());
    }
    wide.copy(fileName, size - 1);
    fileName[size - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

namespace win32::testing
{
void SetModuleFileNameHook(std::optional<std::string> path)
{
    PathHook() = std::move(path);
}
} // namespace win32::testing

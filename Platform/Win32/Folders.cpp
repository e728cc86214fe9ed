#include "Platform/Win32/Folders.h"

#include "Platform/Win32/LastError.h"
#include "Platform/Win32/Utf8Lossy.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace
{
bool IsDirectory(const std::string& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

// Creates the folder and its missing parents, each 0700.
bool CreateFolderTree(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
    mkdir(path.c_str(), 0700);
    return IsDirectory(path);
}

HRESULT CopyOut(const std::string& folder, LPWSTR path)
{
    const std::wstring wide = win32::Utf8ToWideLossy(folder);
    if (wide.size() + 1 > PATH_MAX)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    wide.copy(path, wide.size());
    path[wide.size()] = L'\0';
    return S_OK;
}
} // namespace

HRESULT SHGetFolderPathW(HWND, int folder, HANDLE, DWORD, LPWSTR path)
{
    if (!path)
        return E_INVALIDARG;
    if (folder == CSIDL_PERSONAL)
    {
        const std::string home = HomeFolder();
        if (home.empty() || !IsDirectory(home))
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        return CopyOut(home, path);
    }
    if (folder != CSIDL_APPDATA)
        return E_INVALIDARG;

    std::string data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
    {
        data = xdg;
    }
    else
    {
        const std::string home = HomeFolder();
        if (home.empty())
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        data = home + "/.local/share";
    }
    if (win32::Utf8ToWideLossy(data).size() + 1 > PATH_MAX)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    if (!IsDirectory(data) && !CreateFolderTree(data))
        return E_FAIL;
    return CopyOut(data, path);
}

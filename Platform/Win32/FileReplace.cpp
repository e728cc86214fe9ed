#include "Platform/Win32/FileReplace.h"

#include "Platform/Win32/Utf8.h"

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace
{
bool SyncFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}
}

BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags)
{
    if (!existingFileName || !*existingFileName || !newFileName || !*newFileName)
        return FALSE;
    const std::string from = win32::PathToUtf8(existingFileName);
    const std::string to = win32::PathToUtf8(newFileName);
    const unsigned mode = (flags & MOVEFILE_REPLACE_EXISTING) ? 0u : RENAME_NOREPLACE;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), mode) != 0)
        return FALSE;
    if ((flags & MOVEFILE_WRITE_THROUGH) && !SyncFolderOf(to))
        return FALSE;
    return TRUE;
}

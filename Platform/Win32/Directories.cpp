#include "Platform/Win32/Directories.h"

#include "Platform/Win32/Utf8.h"
#include "Platform/Win32/Utf8Lossy.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
struct FoundEntry
{
    std::string name;
    bool directory = false;
    uint64_t size = 0;
};

// Enumeration state behind a find handle: everything is read at once so a
// listing is stable and sorted, whatever readdir's order.
struct FindState
{
    std::vector<FoundEntry> entries;
    size_t next = 0;
};

int FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

bool NameLess(const FoundEntry& a, const FoundEntry& b)
{
    const size_t n = std::min(a.name.size(), b.name.size());
    for (size_t i = 0; i < n; ++i)
    {
        int fa = FoldAscii(static_cast<unsigned char>(a.name[i]));
        int fb = FoldAscii(static_cast<unsigned char>(b.name[i]));
        if (fa != fb)
            return fa < fb;
    }
    if (a.name.size() != b.name.size())
        return a.name.size() < b.name.size();
    return a.name < b.name;
}

void Fill(const FoundEntry& entry, LPWIN32_FIND_DATAW data)
{
    std::memset(data, 0, sizeof(*data));
    data->dwFileAttributes = entry.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    data->nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(entry.size);
    std::wstring wide = win32::Utf8ToWideLossy(entry.name);
    if (wide.size() >= MAX_PATH)
        wide.resize(MAX_PATH - 1);
    std::copy(wide.begin(), wide.end(), data->cFileName);
}

void Describe(const struct stat& st, FoundEntry& entry)
{
    entry.directory = S_ISDIR(st.st_mode);
    entry.size = entry.directory ? 0 : static_cast<uint64_t>(st.st_size);
}

bool ListFolder(const std::string& folder, std::vector<FoundEntry>& out)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    const int fd = dirfd(dir);
    while (dirent* d = readdir(dir))
    {
        FoundEntry entry;
        entry.name = d->d_name;
        struct stat st;
        // A dangling link still lists, as a file.
        if (fstatat(fd, d->d_name, &st, 0) == 0)
            Describe(st, entry);
        out.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(out.begin(), out.end(), NameLess);
    return true;
}
}

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData)
{
    if (!fileName || !findData)
        return INVALID_HANDLE_VALUE;
    const std::string path = win32::PathToUtf8(fileName);
    if (path.empty() || path.back() == '/')
        return INVALID_HANDLE_VALUE;

    const size_t slash = path.rfind('/');
    const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    auto* state = new FindState;
    if (last == "*")
    {
        const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        if (!ListFolder(folder, state->entries))
            state->entries.clear();
    }
    else
    {
        struct stat st;
        if (stat(path.c_str(), &st) == 0)
        {
            FoundEntry entry;
            entry.name = last;
            Describe(st, entry);
            state->entries.push_back(std::move(entry));
        }
    }
    if (state->entries.empty())
    {
        delete state;
        return INVALID_HANDLE_VALUE;
    }
    Fill(state->entries[0], findData);
    state->next = 1;
    return state;
}

BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData)
{
    if (!findFile || findFile == INVALID_HANDLE_VALUE || !findData)
        return FALSE;
    auto* state = static_cast<FindState*>(findFile);
    if (state->next >= state->entries.size())
        return FALSE;
    Fill(state->entries[state->next++], findData);
    return TRUE;
}

BOOL FindClose(HANDLE findFile)
{
    if (!findFile || findFile == INVALID_HANDLE_VALUE)
        return FALSE;
    delete static_cast<FindState*>(findFile);
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR pathName, void*)
{
    if (!pathName || !*pathName)
        return FALSE;
    return mkdir(win32::PathToUtf8(pathName).c_str(), 0755) == 0 ? TRUE : FALSE;
}

BOOL DeleteFileW(LPCWSTR fileName)
{
    if (!fileName || !*fileName)
        return FALSE;
    return unlink(win32::PathToUtf8(fileName).c_str()) == 0 ? TRUE : FALSE;
}

BOOL SetCurrentDirectoryW(LPCWSTR pathName)
{
    if (!pathName || !*pathName)
        return FALSE;
    return chdir(win32::PathToUtf8(pathName).c_str()) == 0 ? TRUE : FALSE;
}

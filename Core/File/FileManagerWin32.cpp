#include "Core/File/FileManagerWin32.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/StreamCreator.h"
#include "Platform/Win32/Directories.h"
#include "Platform/Win32/FileReplace.h"

namespace file
{
namespace
{
enum class Kind
{
    Missing,
    File,
    Directory
};

Kind Lookup(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(path.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return Kind::Missing;
    FindClose(h);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
}

// Calls visit (name, is a folder) for every entry of the folder but "." and "..".
template <class Visit>
void Enumerate(const std::wstring& folder, Visit visit)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const std::wstring name = data.cFileName;
        if (name.empty() || name == L"." || name == L"..")
            continue;
        visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(h, &data));
    FindClose(h);
}
}

base::Stream* FileManagerWin32::OpenStream(const std::wstring& path)
{
    auto* stream = new base::FileStream;
    if (stream->GetFile().Open(path, 0, 2) != HV_OK)
    {
        delete stream;
        return nullptr;
    }
    return stream;
}

base::StreamCreator* FileManagerWin32::OpenStreamCreator(const std::wstring& path)
{
    return new base::FileStreamCreator(path, 0, 2);
}

bool FileManagerWin32::DoFileExists(const std::wstring& path, const wchar_t* const* extensions, int count,
                                    int* foundIndex)
{
    if (!HasExtensionList(extensions, count))
        return Lookup(path) == Kind::File;
    for (int i = 0; i < count; ++i)
    {
        if (Lookup(path + extensions[i]) == Kind::File)
        {
            if (foundIndex)
                *foundIndex = i;
            return true;
        }
    }
    return false;
}

bool FileManagerWin32::DoDirectoryExists(const std::wstring& path)
{
    return Lookup(path) == Kind::Directory;
}

HVResultEnum FileManagerWin32::DoListFiles(const std::wstring& full, const std::wstring& folder,
                                           const std::wstring& sub, bool recursive, std::vector<std::wstring>& out,
                                           bool relative)
{
    Enumerate(folder + sub, [&](const std::wstring& name, bool isFolder) {
        if (isFolder)
        {
            if (recursive)
                DoListFiles(full, folder, sub + name + L"/", recursive, out, relative);
            return;
        }
        out.push_back(relative ? sub + name : full + sub + name);
    });
    return HV_OK;
}

HVResultEnum FileManagerWin32::DoListDirectories(const std::wstring& full, const std::wstring& folder,
                                                 const std::wstring& sub, std::vector<std::wstring>& out,
                                                 bool relative)
{
    Enumerate(folder + sub, [&](const std::wstring& name, bool isFolder) {
        if (isFolder)
            out.push_back(relative ? sub + name : full + sub + name);
    });
    return HV_OK;
}

HVResultEnum FileManagerWin32::CreateDirectory(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), nullptr) ? HV_OK : HV_FAIL;
}

HVResultEnum FileManagerWin32::DeleteFile(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) ? HV_OK : HV_FAIL;
}

HVResultEnum FileManagerWin32::MoveFile(const std::wstring& from, const std::wstring& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? HV_OK : HV_FAIL;
}

HVResultEnum FileManagerWin32::SetCurrentDirectory(const std::wstring& path)
{
    return SetCurrentDirectoryW(path.c_str()) ? HV_OK : HV_FAIL;
}
}

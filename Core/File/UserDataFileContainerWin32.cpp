#include "Core/File/UserDataFileContainerWin32.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Base/FileStream.h"
#include "Core/Base/StreamCreator.h"
#include "Core/File/FileManager.h"

namespace file
{
HVResultEnum UserDataFileContainerWin32::SetRootPath(const std::wstring& folder)
{
    m_root = folder;
    base::CreateDirectories(folder);
    return HV_OK;
}

base::Stream* UserDataFileContainerWin32::OpenStream(const std::wstring& path)
{
    auto* stream = new base::FileStream;
    if (stream->GetFile().Open(m_root + path, 0, 2) != HV_OK)
    {
        delete stream;
        return nullptr;
    }
    return stream;
}

base::StreamCreator* UserDataFileContainerWin32::OpenStreamCreator(const std::wstring& path)
{
    return new base::FileStreamCreator(m_root + path, 0, 2);
}

HVResultEnum UserDataFileContainerWin32::DoListFiles(const std::wstring& full, const std::wstring&,
                                                     const std::wstring&, bool recursive,
                                                     std::vector<std::wstring>& out, bool relative)
{
    return FileManager::Instance()->ListFiles(m_root + full, recursive, out, relative);
}

HVResultEnum UserDataFileContainerWin32::DoListDirectories(const std::wstring& full, const std::wstring&,
                                                           const std::wstring&, std::vector<std::wstring>& out,
                                                           bool relative)
{
    return FileManager::Instance()->ListDirectories(m_root + full, out, relative);
}

bool UserDataFileContainerWin32::DoFileExists(const std::wstring& path, const wchar_t* const* extensions,
                                              int count, int* foundIndex)
{
    return FileManager::Instance()->FileExists(m_root + path, extensions, count, foundIndex);
}

bool UserDataFileContainerWin32::DoDirectoryExists(const std::wstring& path)
{
    return FileManager::Instance()->DirectoryExists(m_root + path);
}
}

#include "Core/Base/FileFunctions.h"

#include "Core/Base/NormalizePath.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"

#include <cstring>
#include <memory>

namespace base
{
namespace
{
std::unique_ptr<Stream> OpenThroughFileManager(const std::wstring& path)
{
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->Open(path));
    if (!info)
        return nullptr;
    return std::unique_ptr<Stream>(info->OpenStream());
}

std::string UpToFirstZero(const std::string& bytes)
{
    return std::string(bytes.c_str());
}
}

std::string ReadTextFile(const std::wstring& path, bool* hadByteOrderMark)
{
    if (hadByteOrderMark)
        *hadByteOrderMark = false;
    std::unique_ptr<Stream> stream = OpenThroughFileManager(path);
    if (!stream)
        return {};
    uint32_t n = stream->Size();
    std::string bytes(n, '\0');
    if (n < 3)
        return stream->Read(bytes.data(), n) == n ? UpToFirstZero(bytes) : std::string();
    if (stream->Read(bytes.data(), 3) != 3)
        return {};
    if (std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0)
    {
        if (hadByteOrderMark)
            *hadByteOrderMark = true;
        n -= 3;
        bytes.resize(n);
        return stream->Read(bytes.data(), n) == n ? UpToFirstZero(bytes) : std::string();
    }
    return stream->Read(bytes.data() + 3, n - 3) == n - 3 ? UpToFirstZero(bytes) : std::string();
}

std::string ReadWholeFile(const std::wstring& path)
{
    std::unique_ptr<Stream> stream = OpenThroughFileManager(path);
    if (!stream)
        return {};
    const uint32_t n = stream->Size();
    std::string bytes(n, '\0');
    return stream->Read(bytes.data(), n) == n ? UpToFirstZero(bytes) : std::string();
}

HVResultEnum CreateDirectories(const std::wstring& path)
{
    return CreateDirectoryTree(StripTrailingSeparators(NormalizePath(path)));
}

HVResultEnum CreateDirectoryTree(const std::wstring& path)
{
    file::FileManager* files = file::FileManager::Instance();
    if (files->DirectoryExists(path))
        return HV_OK;
    const std::wstring parent = StripTrailingSeparators(GetDirectory(path));
    if (!parent.empty())
    {
        const HVResultEnum result = CreateDirectoryTree(parent);
        if (result != HV_OK)
            return result;
    }
    return files->CreateDirectory(path);
}
}

#include "Core/File/FileContainer.h"

#include "Core/Base/LookupMiss.h"
#include "Core/Base/NormalizePath.h"
#include "Core/Base/Paths.h"
#include "Core/File/Archiver.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/PsdFile.h"
#include "Core/File/PsdFolder.h"

namespace file
{
namespace
{
const wchar_t* const kImageDocumentExtensions[] = {L".psd", L""};
}

FileContainer::FileContainer(bool packed)
    : m_packed(packed)
{
}

FileContainer::~FileContainer() = default;

Archiver* FileContainer::ResolveMount(const std::wstring& path, std::wstring& rest)
{
    for (const auto& [prefix, packPath] : FileManager::Instance()->mountTable)
    {
        if (path.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (!DoFileExists(packPath, nullptr, 0, nullptr))
            continue;
        std::unique_ptr<Archiver>& archiver = m_archives[packPath];
        if (!archiver)
            archiver = std::make_unique<Archiver>(prefix, packPath, this);
        rest = path.substr(prefix.size());
        return archiver.get();
    }
    return nullptr;
}

FileInfo* FileContainer::Open(const std::wstring& path, const wchar_t* const* extensions, int count,
                              int* foundIndex)
{
    std::wstring rest;
    if (Archiver* pack = ResolveMount(path, rest))
        return pack->Open(rest, extensions, count, foundIndex);

    int found = 0;
    if (!DoFileExists(path, extensions, count, &found))
    {
        base::ReportLookupMiss(base::LookupMissKind::File, CallerPath(path));
        return nullptr;
    }
    if (foundIndex)
        *foundIndex = found;
    const std::wstring fullPath = HasExtensionList(extensions, count) ? path + extensions[found] : path;
    return new FileInfo(base::GetFileName(path), fullPath, this, m_packed);
}

bool FileContainer::FileExists(const std::wstring& path, const wchar_t* const* extensions, int count,
                               int* foundIndex)
{
    std::wstring rest;
    if (Archiver* pack = ResolveMount(path, rest))
        return pack->FileExists(rest, extensions, count, foundIndex);
    return DoFileExists(path, extensions, count, foundIndex);
}

bool FileContainer::DirectoryExists(const std::wstring& path)
{
    std::wstring rest;
    if (Archiver* pack = ResolveMount(path, rest))
        return pack->DirectoryExists(rest);
    return DoDirectoryExists(path);
}

HVResultEnum FileContainer::ListFiles(const std::wstring& folder, bool recursive, std::vector<std::wstring>& out,
                                      bool relative)
{
    const std::wstring normal = base::NormalizePath(folder);
    return ListFilesFrom(normal, normal, recursive, out, relative);
}

HVResultEnum FileContainer::ListDirectories(const std::wstring& folder, std::vector<std::wstring>& out,
                                            bool relative)
{
    const std::wstring normal = base::NormalizePath(folder);
    return ListDirectoriesFrom(normal, normal, out, relative);
}

HVResultEnum FileContainer::ListFilesFrom(const std::wstring& full, const std::wstring& folder, bool recursive,
                                          std::vector<std::wstring>& out, bool relative)
{
    std::wstring rest;
    if (Archiver* pack = ResolveMount(folder, rest))
        return pack->ListFilesFrom(full, rest, recursive, out, relative);
    return DoListFiles(full, folder, L"", recursive, out, relative);
}

HVResultEnum FileContainer::ListDirectoriesFrom(const std::wstring& full, const std::wstring& folder,
                                                std::vector<std::wstring>& out, bool relative)
{
    std::wstring rest;
    if (Archiver* pack = ResolveMount(folder, rest))
        return pack->ListDirectoriesFrom(full, rest, out, relative);
    return DoListDirectories(full, folder, L"", out, relative);
}

ImageContainer* FileContainer::OpenImageContainer(const std::wstring& path)
{
    std::wstring rest;
    if (Archiver* pack = ResolveMount(path, rest))
        return pack->OpenImageContainer(rest);
    if (DoDirectoryExists(path))
        return new PsdFolder(path, this);
    int found = 0;
    if (DoFileExists(path, kImageDocumentExtensions, 2, &found))
        return new PsdFile(path + kImageDocumentExtensions[found], this);
    base::ReportLookupMiss(base::LookupMissKind::ImageContainer, CallerPath(path));
    return nullptr;
}
}

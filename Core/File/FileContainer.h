#pragma once

#include "Core/Base/Result.h"
#include "Core/File/ArchiveCache.h"
#include "Core/File/Container.h"

#include <string>
#include <vector>

namespace file
{
class Archiver;
class ImageContainer;

// A container with listings and existence tests. Every shared operation first
// resolves the file manager's mounts: a mounted prefix whose pack exists in
// this container is answered by the pack, with no fallback to loose files.
class FileContainer : public Container
{
public:
    explicit FileContainer(bool packed = false);
    ~FileContainer() override;

    FileInfo* Open(const std::wstring& path, const wchar_t* const* extensions = nullptr, int count = 0,
                   int* foundIndex = nullptr) override;

    // The folder is normalised first; results are appended to out.
    virtual HVResultEnum ListFiles(const std::wstring& folder, bool recursive, std::vector<std::wstring>& out,
                                   bool relative);
    virtual HVResultEnum ListDirectories(const std::wstring& folder, std::vector<std::wstring>& out, bool relative);
    // The path is used unchanged.
    virtual bool FileExists(const std::wstring& path, const wchar_t* const* extensions = nullptr, int count = 0,
                            int* foundIndex = nullptr);
    virtual bool DirectoryExists(const std::wstring& path);
    // A path of this container as the program names it (a pack puts its
    // mount prefix back): what a lookup miss reports.
    virtual std::wstring CallerPath(const std::wstring& path) const { return path; }

    // This container's own answers, without mounts.
    virtual HVResultEnum DoListFiles(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                                     bool recursive, std::vector<std::wstring>& out, bool relative) = 0;
    virtual HVResultEnum DoListDirectories(const std::wstring& full, const std::wstring& folder,
                                           const std::wstring& sub, std::vector<std::wstring>& out,
                                           bool relative) = 0;
    virtual bool DoFileExists(const std::wstring& path, const wchar_t* const* extensions, int count,
                              int* foundIndex) = 0;
    virtual bool DoDirectoryExists(const std::wstring& path) = 0;

    // A folder holding "layers.xml" form, then "path.psd", then the bare path.
    ImageContainer* OpenImageContainer(const std::wstring& path);

    // The pack answering for the path, with the path inside it in rest; null
    // when no mount applies. The pack file is tested on every call: packs
    // may be rewritten while the program runs.
    Archiver* ResolveMount(const std::wstring& path, std::wstring& rest);

    bool IsPacked() const { return m_packed; }

protected:
    // The listing workers: full is the folder as the caller named it.
    HVResultEnum ListFilesFrom(const std::wstring& full, const std::wstring& folder, bool recursive,
                               std::vector<std::wstring>& out, bool relative);
    HVResultEnum ListDirectoriesFrom(const std::wstring& full, const std::wstring& folder,
                                     std::vector<std::wstring>& out, bool relative);

private:
    bool m_packed;
    ArchiveCache m_archives;
};

// Whether a list of extensions is given at all.
inline bool HasExtensionList(const wchar_t* const* extensions, int count)
{
    return extensions && count > 0;
}
}

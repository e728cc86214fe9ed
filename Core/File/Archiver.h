#pragma once

#include "Core/File/FileContainer.h"
#include "Core/File/PackDirectory.h"

namespace file
{
// The read-only container over one pack. Names are the rest of a path after
// the mount prefix and are matched exactly.
class Archiver : public FileContainer
{
public:
    // Reads the directory of the pack at the owner's root + pack path; a
    // missing or damaged pack leaves it empty or holding what came before
    // the damage.
    Archiver(const std::wstring& prefix, const std::wstring& packPath, FileContainer* owner);

    // A window onto the pack over a stream of its own.
    base::Stream* OpenStream(const std::wstring& name) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& name) override;
    // The owner's root + the prefix.
    std::wstring GetRootPath() override;
    std::wstring CallerPath(const std::wstring& path) const override { return m_prefix + path; }

    HVResultEnum DoListFiles(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                             bool recursive, std::vector<std::wstring>& out, bool relative) override;
    HVResultEnum DoListDirectories(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                                   std::vector<std::wstring>& out, bool relative) override;
    bool DoFileExists(const std::wstring& name, const wchar_t* const* extensions, int count,
                      int* foundIndex) override;
    bool DoDirectoryExists(const std::wstring& name) override;

    const PackDirectory& GetDirectory() const { return m_directory; }

private:
    // Where the pack is opened: the owner's root, so a pack in the user-data
    // folder is read from there.
    std::wstring PackFilePath() const;

    FileContainer* m_owner;
    std::wstring m_prefix;
    std::wstring m_packPath;
    PackDirectory m_directory;
};
}

#pragma once

#include "Core/File/FileContainer.h"

namespace file
{
// The per-user folder. Its lookups go to the file manager with the root in
// front, so non-relative listing results begin with the root.
class UserDataFileContainerWin32 : public FileContainer
{
public:
    // Stores the folder ('/' separated, ending in '/') and creates it with its
    // missing parents. Always 0: a failure shows later as failing opens.
    HVResultEnum SetRootPath(const std::wstring& folder);

    base::Stream* OpenStream(const std::wstring& path) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& path) override;
    std::wstring GetRootPath() override { return m_root; }

    HVResultEnum DoListFiles(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                             bool recursive, std::vector<std::wstring>& out, bool relative) override;
    HVResultEnum DoListDirectories(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                                   std::vector<std::wstring>& out, bool relative) override;
    bool DoFileExists(const std::wstring& path, const wchar_t* const* extensions, int count,
                      int* foundIndex) override;
    bool DoDirectoryExists(const std::wstring& path) override;

private:
    std::wstring m_root;
};
}

#pragma once

#include "Core/File/FileContainer.h"

namespace file
{
// The disk: paths relative to the current directory, which is the data root.
class FileManagerWin32 : public FileContainer
{
public:
    base::Stream* OpenStream(const std::wstring& path) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& path) override;
    std::wstring GetRootPath() override { return L""; }

    HVResultEnum DoListFiles(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                             bool recursive, std::vector<std::wstring>& out, bool relative) override;
    HVResultEnum DoListDirectories(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                                   std::vector<std::wstring>& out, bool relative) override;
    bool DoFileExists(const std::wstring& path, const wchar_t* const* extensions, int count,
                      int* foundIndex) override;
    bool DoDirectoryExists(const std::wstring& path) override;

    HVResultEnum CreateDirectory(const std::wstring& path);
    HVResultEnum DeleteFile(const std::wstring& path);
    // Renames the file, replacing an existing target in one step: readers see
    // the old file or the new one, never neither.
    HVResultEnum MoveFile(const std::wstring& from, const std::wstring& to);
    // Makes the folder the data root.
    HVResultEnum SetCurrentDirectory(const std::wstring& path);
};
}

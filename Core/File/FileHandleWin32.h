#pragma once

// An open Win32 file. Calls on a handle that is not open do nothing but
// report failure.
#include "Core/Base/Result.h"
#include "Platform/Win32/Types.h"

#include <cstdint>
#include <string>

namespace file
{
class FileHandleWin32
{
public:
    FileHandleWin32();
    FileHandleWin32(const FileHandleWin32&) = delete;
    FileHandleWin32& operator=(const FileHandleWin32&) = delete;
    virtual ~FileHandleWin32();

    // access: 0 read, 1 write, 2 both; disposition: 0 create always,
    // 1 create new, 2 open existing. An open handle is closed first.
    HVResultEnum Open(const std::wstring& path, int access, int disposition);
    HVResultEnum Close();
    HVResultEnum Read(void* buffer, uint32_t count, uint32_t* countRead = nullptr);
    HVResultEnum Write(const void* buffer, uint32_t count, uint32_t* countWritten = nullptr);
    // origin 0 start, 1 current, any other the end; returns the position.
    uint32_t Seek(int32_t offset, int origin);

    bool IsOpen() const;
    HANDLE GetHandle() const { return mHandle; }
    const std::wstring& GetPath() const { return mPath; }

private:
    HANDLE mHandle;
    std::wstring mPath;
};
} // namespace file

#pragma once

// A stream over one Win32 file handle; open it through GetFile().
#include "Core/Base/Stream.h"
#include "Core/File/FileHandleWin32.h"

namespace base
{
class FileStream : public Stream
{
public:
    // 0 when the handle is closed.
    uint32_t Size() const override;
    ~FileStream() override;
    uint32_t Read(void* buffer, uint32_t count) override;
    uint32_t Write(const void* buffer, uint32_t count) override;
    uint32_t Seek(int32_t offset, int origin) override;

    file::FileHandleWin32& GetFile() { return mFile; }

private:
    file::FileHandleWin32 mFile;
};
} // namespace base

#include "Core/Base/FileStream.h"

#include "Platform/Win32/Files.h"

namespace base
{
uint32_t FileStream::Size() const
{
    if (!mFile.IsOpen())
        return 0;
    const DWORD size = GetFileSize(mFile.GetHandle(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

FileStream::~FileStream() = default;

uint32_t FileStream::Read(void* buffer, uint32_t count)
{
    uint32_t done = 0;
    return mFile.Read(buffer, count, &done) == HV_OK ? done : 0;
}

uint32_t FileStream::Write(const void* buffer, uint32_t count)
{
    uint32_t done = 0;
    return mFile.Write(buffer, count, &done) == HV_OK ? done : 0;
}

uint32_t FileStream::Seek(int32_t offset, int origin) { return mFile.Seek(offset, origin); }
} // namespace base

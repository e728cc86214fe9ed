#include "Core/File/FileHandleWin32.h"

#include "Platform/Win32/Files.h"
#include "Platform/Win32/LastError.h"

namespace file
{
FileHandleWin32::FileHandleWin32() : mHandle(INVALID_HANDLE_VALUE) {}

FileHandleWin32::~FileHandleWin32()
{
    if (IsOpen())
        Close();
}

bool FileHandleWin32::IsOpen() const { return mHandle != INVALID_HANDLE_VALUE; }

HVResultEnum FileHandleWin32::Open(const std::wstring& path, int access, int disposition)
{
    // Reopening must not leak the earlier handle.
    if (IsOpen())
        Close();
    mPath = path;
    DWORD desired = 0;
    DWORD share = 0;
    switch (access)
    {
    case 0: desired = GENERIC_READ; break;
    case 1: desired = GENERIC_WRITE; break;
    case 2: desired = GENERIC_READ | GENERIC_WRITE; break;
    default: break;
    }
    if (desired != 0)
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    DWORD creation = 0;
    switch (disposition)
    {
    case 0: creation = CREATE_ALWAYS; break;
    case 1: creation = CREATE_NEW; break;
    case 2: creation = OPEN_EXISTING; break;
    default: break;
    }
    mHandle = CreateFileW(path.c_str(), desired, share, nullptr, creation, 0, nullptr);
    return mHandle == INVALID_HANDLE_VALUE ? HV_FAIL : HV_OK;
}

HVResultEnum FileHandleWin32::Close()
{
    if (!IsOpen() || !CloseHandle(mHandle))
        return HV_FAIL;
    mHandle = INVALID_HANDLE_VALUE;
    mPath.clear();
    return HV_OK;
}

HVResultEnum FileHandleWin32::Read(void* buffer, uint32_t count, uint32_t* countRead)
{
    DWORD done = 0;
    if (!ReadFile(mHandle, buffer, count, &done, nullptr))
        return HV_FAIL;
    if (countRead != nullptr)
        *countRead = done;
    return HV_OK;
}

HVResultEnum FileHandleWin32::Write(const void* buffer, uint32_t count, uint32_t* countWritten)
{
    DWORD done = 0;
    if (!WriteFile(mHandle, buffer, count, &done, nullptr))
        return HV_FAIL;
    if (countWritten != nullptr)
        *countWritten = done;
    return HV_OK;
}

uint32_t FileHandleWin32::Seek(int32_t offset, int origin)
{
    const DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
    SetLastError(ERROR_SUCCESS);
    DWORD position = SetFilePointer(mHandle, offset, nullptr, method);
    if (GetLastError() != ERROR_SUCCESS)
        position = SetFilePointer(mHandle, 0, nullptr, FILE_CURRENT);
    return position;
}
} // namespace file

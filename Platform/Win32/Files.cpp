#include "Platform/Win32/Files.h"

#include "Platform/Win32/LastError.h"
#include "Platform/Win32/Utf8.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
class FileObject final : public win32::KernelObject
{
public:
    FileObject(int fd, bool canRead, bool canWrite) : mFd(fd), mCanRead(canRead), mCanWrite(canWrite) {}

    bool Release() override
    {
        const int fd = mFd;
        mFd = -1;
        // The descriptor is gone even when close reports an error.
        if (::close(fd) != 0 && errno != EINTR)
        {
            SetLastError(Win32ErrorFromErrno(errno));
            return false;
        }
        return true;
    }

    ~FileObject() override
    {
        if (mFd >= 0)
            ::close(mFd);
    }

    int mFd;
    bool mCanRead;
    bool mCanWrite;
};

// Armed by a test that simulates a crash in the middle of a write.
int64_t gBytesBeforeTheEnd = -1;
constexpr int kEndedByTestHook = 86;

// How many of the bytes may still be written before the process ends.
DWORD BytesBeforeTheEnd(DWORD count)
{
    if (gBytesBeforeTheEnd < 0)
        return count;
    const DWORD allowed = gBytesBeforeTheEnd < count ? static_cast<DWORD>(gBytesBeforeTheEnd) : count;
    gBytesBeforeTheEnd -= allowed;
    return allowed;
}

FileObject* ToFile(HANDLE handle)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return static_cast<FileObject*>(static_cast<win32::KernelObject*>(handle));
}
} // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/,
                   LPSECURITY_ATTRIBUTES /*security*/, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile)
{
    if (fileName == nullptr || flagsAndAttributes != 0 || templateFile != nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const bool canRead = (desiredAccess & GENERIC_READ) != 0;
    const bool canWrite = (desiredAccess & GENERIC_WRITE) != 0;
    int flags = O_CLOEXEC;
    if (canRead && canWrite)
        flags |= O_RDWR;
    else if (canWrite)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    switch (creationDisposition)
    {
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case OPEN_EXISTING: break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
    }

    const std::string path = win32::PathToUtf8(fileName);
    int fd;
    do
        fd = ::open(path.c_str(), flags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    // open accepts a folder for reading; Windows refuses it.
    struct stat info;
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
    {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return static_cast<win32::KernelObject*>(new FileObject(fd, canRead, canWrite));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, DWORD* bytesRead, LPOVERLAPPED overlapped)
{
    if (bytesRead != nullptr)
        *bytesRead = 0;
    FileObject* object = ToFile(file);
    if (object == nullptr)
        return FALSE;
    if (overlapped != nullptr || (buffer == nullptr && bytesToRead != 0))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!object->mCanRead)
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    auto* out = static_cast<char*>(buffer);
    DWORD total = 0;
    while (total < bytesToRead)
    {
        const ssize_t n = ::read(object->mFd, out + total, bytesToRead - total);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            SetLastError(Win32ErrorFromErrno(errno));
            if (bytesRead != nullptr)
                *bytesRead = total;
            return FALSE;
        }
        if (n == 0)
            break; // end of file
        total += static_cast<DWORD>(n);
    }
    if (bytesRead != nullptr)
        *bytesRead = total;
    return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               LPOVERLAPPED overlapped)
{
    if (bytesWritten != nullptr)
        *bytesWritten = 0;
    FileObject* object = ToFile(file);
    if (object == nullptr)
        return FALSE;
    if (overlapped != nullptr || (buffer == nullptr && bytesToWrite != 0))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!object->mCanWrite)
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const auto* in = static_cast<const char*>(buffer);
    DWORD total = 0;
    const DWORD allowed = BytesBeforeTheEnd(bytesToWrite);
    while (total < allowed)
    {
        const ssize_t n = ::write(object->mFd, in + total, allowed - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            SetLastError(n < 0 ? Win32ErrorFromErrno(errno) : ERROR_WRITE_FAULT);
            if (bytesWritten != nullptr)
                *bytesWritten = total;
            return FALSE;
        }
        total += static_cast<DWORD>(n);
    }
    if (allowed < bytesToWrite)
        _exit(kEndedByTestHook);
    if (bytesWritten != nullptr)
        *bytesWritten = total;
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file)
{
    FileObject* object = ToFile(file);
    if (object == nullptr)
        return FALSE;
    if (::fsync(object->mFd) != 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

namespace win32::testing
{
void EndProcessAfterWrittenBytes(int64_t bytes)
{
    gBytesBeforeTheEnd = bytes;
}
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod)
{
    FileObject* object = ToFile(file);
    if (object == nullptr)
        return INVALID_SET_FILE_POINTER;
    int64_t move = distance;
    if (distanceHigh != nullptr)
        move = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32) |
                                    static_cast<uint32_t>(distance));
    int64_t base = 0;
    if (moveMethod == FILE_CURRENT)
        base = ::lseek(object->mFd, 0, SEEK_CUR);
    else if (moveMethod == FILE_END)
    {
        struct stat info;
        base = ::fstat(object->mFd, &info) == 0 ? info.st_size : -1;
    }
    else if (moveMethod != FILE_BEGIN)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (base < 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    const int64_t target = base + move;
    if (target < 0)
    {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    if (::lseek(object->mFd, static_cast<off_t>(target), SEEK_SET) < 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh != nullptr)
        *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
    return static_cast<DWORD>(target);
}

DWORD GetFileSize(HANDLE file, DWORD* fileSizeHigh)
{
    FileObject* object = ToFile(file);
    if (object == nullptr)
        return INVALID_FILE_SIZE;
    struct stat info;
    if (::fstat(object->mFd, &info) != 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (fileSizeHigh != nullptr)
        *fileSizeHigh = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size);
}

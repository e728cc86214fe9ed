#pragma once

// File handles over POSIX descriptors: the subset of the Win32 file calls the
// engine makes. Failures return INVALID_HANDLE_VALUE or FALSE and set the
// thread's last error.
#include "Platform/Win32/Handles.h"
#include "Platform/Win32/Types.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u

#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u

#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u

#define INVALID_SET_FILE_POINTER ((DWORD)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

// Share modes are accepted and ignored; flags and template must be 0.
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);

// Transfer until the count is done, the end of the file, or an error;
// the count moved is stored even on failure.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, DWORD* bytesRead,
              LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               LPOVERLAPPED overlapped);
// Puts what was written on the disk.
BOOL FlushFileBuffers(HANDLE file);

// Returns the low 32 bits of the new position; a position before the start
// fails with ERROR_NEGATIVE_SEEK and leaves the position as it was.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);

DWORD GetFileSize(HANDLE file, DWORD* fileSizeHigh);

namespace win32::testing
{
// Ends the process (exit status 86) as soon as this many more bytes have gone
// through WriteFile, the bytes before that point written: a crash mid-save.
void EndProcessAfterWrittenBytes(int64_t bytes);
}

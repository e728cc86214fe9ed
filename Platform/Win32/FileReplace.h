#pragma once

// The two calls of a crash-safe save: flush the new file, then rename it
// over the old one and make the rename itself durable.
#include "Platform/Win32/Types.h"

#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_WRITE_THROUGH 0x00000008

// Without MOVEFILE_REPLACE_EXISTING an existing target makes the move fail.
// MOVEFILE_WRITE_THROUGH syncs the target's folder once the rename is done.
BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags);

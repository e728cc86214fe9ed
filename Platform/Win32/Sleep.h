#pragma once

#include "Platform/Win32/Types.h"

// Suspends the calling thread for at least the given milliseconds.
void Sleep(DWORD milliseconds);

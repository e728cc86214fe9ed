#pragma once

// The debugger output is standard error here.
#include "Platform/Win32/Types.h"

// Writes the text as UTF-8 at once, adding nothing.
void OutputDebugStringW(LPCWSTR text);

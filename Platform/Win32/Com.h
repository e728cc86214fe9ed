#pragma once

// COM needs no set-up here; the engine still pairs the two calls.
#include "Platform/Win32/Types.h"

HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();

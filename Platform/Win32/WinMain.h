#pragma once

// The engine's process entry; main hands over to it once the arguments are recorded.
#include "Platform/Win32/Types.h"

#define WINAPI

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

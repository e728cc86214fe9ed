#include "Platform/Win32/Sleep.h"

#include <SDL.h>

void Sleep(DWORD milliseconds) { SDL_Delay(milliseconds); }

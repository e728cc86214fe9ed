#pragma once

// The SDL audio device that plays what the mixer makes.
#include <SDL2/SDL_audio.h>

namespace bass
{
// Opens and starts the default device for 44,100 Hz stereo float; 0 when none opens.
SDL_AudioDeviceID OpenOutput();
void PauseOutput(SDL_AudioDeviceID device, bool pause);
} // namespace bass

#include "Platform/Bass/Output.h"

#include "Platform/Bass/Mixer.h"
#include "Platform/Bass/StandIn.h"

#include <SDL2/SDL.h>

namespace bass
{
namespace
{
void Callback(void*, Uint8* stream, int bytes)
{
    Mixer& mixer = Mixer::Get();
    std::lock_guard guard(mixer.lock);
    mixer.Mix(reinterpret_cast<float*>(stream), static_cast<uint32_t>(bytes) / (2 * sizeof(float)));
}
} // namespace

SDL_AudioDeviceID OpenOutput()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(kRate);
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = Callback;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware takes.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    SDL_PauseAudioDevice(device, 0);
    return device;
}

void PauseOutput(SDL_AudioDeviceID device, bool pause)
{
    // Never under the mixer lock: SDL waits for the callback, which takes it.
    if (device)
        SDL_PauseAudioDevice(device, pause ? 1 : 0);
}
} // namespace bass

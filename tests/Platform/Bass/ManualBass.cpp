#include "ManualBass.h"

#include "Platform/Bass/StandIn.h"

#include <cmath>

namespace audiotest
{
void StartManualBass()
{
    static bool started = [] {
        bass::UseManualOutput();
        return BASS_Init(-1, 44100, 0, 0, nullptr) != FALSE;
    }();
    (void)started;
}

uint32_t Frames(double milliseconds)
{
    return static_cast<uint32_t>(std::lround(milliseconds * 44.1));
}

std::vector<float> MixFrames(uint32_t frames)
{
    std::vector<float> out(static_cast<size_t>(frames) * 2);
    bass::MixFrames(out.data(), frames);
    return out;
}

std::vector<float> MixMs(double milliseconds)
{
    return MixFrames(Frames(milliseconds));
}

HSAMPLE LoadSample(const std::string& bytes)
{
    return BASS_SampleLoad(TRUE, bytes.data(), 0, static_cast<DWORD>(bytes.size()), 65535, 0);
}

void SyncRecorder::Proc(HSYNC sync, DWORD channel, DWORD data, void* user)
{
    static_cast<SyncRecorder*>(user)->calls.push_back({sync, channel, data});
}
} // namespace audiotest

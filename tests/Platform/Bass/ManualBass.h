#pragma once

// The audio layer in manual-output mode, started once per test process, and
// helpers to mix by hand.
#include "Platform/Bass/Bass.h"

#include <cstdint>
#include <string>
#include <vector>

namespace audiotest
{
void StartManualBass();
uint32_t Frames(double milliseconds);
std::vector<float> MixMs(double milliseconds);
std::vector<float> MixFrames(uint32_t frames);
// Loads `bytes` as a sample (the engine's arguments).
HSAMPLE LoadSample(const std::string& bytes);

// Counts sync callbacks and remembers what they were given.
struct SyncRecorder
{
    static void Proc(HSYNC sync, DWORD channel, DWORD data, void* user);
    struct Call
    {
        HSYNC sync;
        DWORD channel;
        DWORD data;
    };
    std::vector<Call> calls;
};
} // namespace audiotest

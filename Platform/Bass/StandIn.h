#pragma once

// Calls of our own audio layer that have no counterpart in the library it
// replaces: sync delivery on the caller's thread, and a mixer the tests drive.
#include <cstdint>

namespace bass
{
// Runs the callbacks of every sync fired since the last call, on this thread.
void DeliverSyncs();

// Before BASS_Init: mix only when MixFrames asks, without opening SDL audio.
void UseManualOutput();

// Mixes `frames` stereo frames (44,100 Hz, interleaved float) into `out`.
void MixFrames(float* out, uint32_t frames);

constexpr uint32_t kRate = 44100;
} // namespace bass

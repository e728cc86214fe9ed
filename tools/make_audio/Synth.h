#pragma once

// Renders a score to float PCM: one voice per note, then echo, reverb, a DC
// blocker and the level normalisation the score asks for.
#include "Score.h"

#include "tools/audio_encoder/AudioEncoder.h"

#include <string>

namespace audiosynth
{
struct Levels
{
    double peakDb = -200.0;
    double rmsDb = -200.0;
    double dcOffset = 0.0;
    double seconds = 0.0;
};

// False with a message when the score cannot be rendered (unknown
// instrument, no length).
bool Render(const Score& score, audioencoder::Pcm* out, std::string* error);

Levels Measure(const audioencoder::Pcm& pcm);
} // namespace audiosynth

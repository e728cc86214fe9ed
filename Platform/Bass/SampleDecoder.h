#pragma once

// A whole sound file in memory to the mixer's layout (44,100 Hz stereo
// float), the decoder chosen by content. Empty when the bytes are not a
// playable Ogg Vorbis or WAV file.
#include <cstddef>
#include <vector>

namespace bass
{
std::vector<float> DecodeSampleFile(const void* data, size_t size);
}

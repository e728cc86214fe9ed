// The bytes as a sound file for the sample decoder: Ogg Vorbis or WAV, chosen
// by content, decoded whole and converted to the mixer's layout.
#include "Platform/Bass/SampleDecoder.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<float> pcm = bass::DecodeSampleFile(data, size);
    if (pcm.size() % 2 != 0)
        abort(); // always whole stereo frames
    return 0;
}

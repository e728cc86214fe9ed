#include "Platform/Bass/SampleDecoder.h"

#include "Platform/Bass/Converter.h"
#include "Platform/Bass/Vorbis.h"

#include <SDL2/SDL_rwops.h>

#include <cstring>

namespace bass
{
namespace
{
bool IsWave(const unsigned char* data, size_t size)
{
    return size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0;
}

std::vector<float> DecodeWave(const unsigned char* data, size_t size)
{
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw)
        return {};
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &buffer, &length))
        return {};
    std::vector<float> pcm = ConvertAll(spec.format, spec.channels, spec.freq, buffer, length);
    SDL_FreeWAV(buffer);
    return pcm;
}

std::vector<float> DecodeOgg(const unsigned char* data, size_t size)
{
    DecodedPcm decoded;
    if (!DecodeVorbisMemory(data, size, decoded))
        return {};
    return ConvertAll(AUDIO_F32SYS, decoded.channels, decoded.rate, decoded.samples.data(), decoded.samples.size() * sizeof(float));
}
} // namespace

std::vector<float> DecodeSampleFile(const void* data, size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || size == 0 || size > 0x7fffffff)
        return {};
    if (IsOgg(bytes, size))
        return DecodeOgg(bytes, size);
    if (IsWave(bytes, size))
        return DecodeWave(bytes, size);
    return {};
}
} // namespace bass

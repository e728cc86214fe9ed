#include "Platform/Bass/SampleDecoder.h"

#include "Platform/Bass/Converter.h"
#include "Platform/Bass/Vorbis.h"

#include <SDL2/SDL_rwops.h>

#include <cstdint>
#include <cstring>

namespace bass
{
namespace
{
bool IsWave(const unsigned char* data, size_t size)
{
    return size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0;
}

// "RIFF", its length, "WAVE", then chunks of an id and a length each.
constexpr size_t kFirstChunkAt = 12;
constexpr size_t kChunkHeaderBytes = 8;

uint32_t LE32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// SDL's loader allocates what a chunk header claims before it reads the
// chunk: a few bytes claiming gigabytes would be taken at their word. A chunk
// that runs past the end of the file is cut to the bytes that are there, as
// a truncated file plays what it holds.
void CutChunksToTheFile(std::vector<unsigned char>& bytes)
{
    size_t pos = kFirstChunkAt;
    while (bytes.size() - pos >= kChunkHeaderBytes)
    {
        const size_t left = bytes.size() - pos - kChunkHeaderBytes;
        const uint32_t length = LE32(bytes.data() + pos + 4);
        if (length > left)
        {
            for (int i = 0; i < 4; ++i)
                bytes[pos + 4 + i] = static_cast<unsigned char>(left >> (8 * i));
            return;
        }
        // Chunks are padded to an even length.
        const size_t next = kChunkHeaderBytes + length + (length & 1u);
        if (next > bytes.size() - pos)
            return;
        pos += next;
    }
}

std::vector<float> DecodeWave(const unsigned char* data, size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    CutChunksToTheFile(bytes);
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
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

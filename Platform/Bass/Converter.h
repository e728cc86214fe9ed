#pragma once

// Converts any PCM layout SDL knows into the mixer's 44,100 Hz stereo float.
#include <SDL2/SDL_audio.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bass
{
class Converter
{
public:
    Converter() = default;
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Open(SDL_AudioFormat format, int channels, int rate);
    // Whole input frames only.
    bool Put(const void* data, size_t bytes);
    // The input has ended: everything put becomes available.
    bool Flush();
    // Up to `frames` converted frames into `out`; the count delivered.
    size_t Get(float* out, size_t frames);
    size_t Available() const;
    void Clear();

private:
    SDL_AudioStream* m_stream = nullptr;
    SDL_AudioFormat m_format = 0;
    size_t m_frameBytes = 0;
    unsigned m_rate = 0;
    uint64_t m_framesIn = 0;
    uint64_t m_framesOut = 0;
};

// Whole buffer at once; empty on failure.
std::vector<float> ConvertAll(SDL_AudioFormat format, int channels, int rate, const void* data, size_t bytes);
} // namespace bass
